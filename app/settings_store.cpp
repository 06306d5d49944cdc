#include "settings_store.h"

namespace {

const char* const kRunAtStartupValue = "setting01";
const char* const kRunMinimizedValue = "setting02";
const char* const kRememberSettingsValue = "setting03";
const char* const kLowUpdateRateValue = "setting04";
const char* const kRegularFreeModeValue = "page41-01";
const char* const kFreeAmountValue = "page41-02";
const char* const kKeepAtLeastValue = "page41-03";
const char* const kIntervalValue = "page41-04";
const char* const kAppliedValue = "page41-05";
const char* const kStoredPathValue = "path01";
const char* const kPathStoredValue = "path02";

// Flags count as on only when they hold exactly 1.
bool IsOn(DWORD number) { return number == 1; }

DWORD FlagNumber(bool on) { return on ? 1 : 0; }

// Quoted, so a path with spaces cannot be read as another program plus
// arguments when the shell starts it at log-on.
std::string RunCommandFor(const std::string& programPath) { return '"' + programPath + '"'; }

} // namespace

bool CSettingsStore::ReadRunMinimized() const
{
    const CRegistryKey key = OpenExistingKey(m_roots, kSettingsKeyPath);
    return IsOn(key.QueryNumber(kRunMinimizedValue));
}

ViewRestore CSettingsStore::RestoreView() const
{
    const CRegistryKey key = OpenExistingKey(m_roots, kSettingsKeyPath);
    ViewRestore restore;
    restore.rememberSettings = IsOn(key.QueryNumber(kRememberSettingsValue));
    restore.lowUpdateRate = IsOn(key.QueryNumber(kLowUpdateRateValue));
    if (restore.rememberSettings) {
        RegularFreeValues& values = restore.regularFree;
        values.mode = std::int32_t(key.QueryNumber(kRegularFreeModeValue));
        values.freeAmountMB = std::int32_t(key.QueryNumber(kFreeAmountValue));
        values.keepAtLeastMB = std::int32_t(key.QueryNumber(kKeepAtLeastValue));
        values.intervalPosResult = key.QueryNumber(kIntervalValue);
    }
    return restore;
}

void CSettingsStore::SaveView(const RegularFreeValues& values)
{
    CRegistryKey key = OpenOrCreateKey(m_roots, kSettingsKeyPath);
    if (!key.IsOpen())
        return;
    key.SetNumber(kRegularFreeModeValue, DWORD(values.mode));
    key.SetNumber(kFreeAmountValue, DWORD(values.freeAmountMB));
    key.SetNumber(kKeepAtLeastValue, DWORD(values.keepAtLeastMB));
    key.SetNumber(kIntervalValue, values.intervalPosResult);
    key.SetNumber(kAppliedValue, FlagNumber(values.applied));
}

PreferenceFlags CSettingsStore::LoadPreferences() const
{
    const CRegistryKey key = OpenExistingKey(m_roots, kSettingsKeyPath);
    PreferenceFlags flags;
    flags.runAtStartup = IsOn(key.QueryNumber(kRunAtStartupValue));
    flags.runMinimized = IsOn(key.QueryNumber(kRunMinimizedValue));
    flags.rememberSettings = IsOn(key.QueryNumber(kRememberSettingsValue));
    flags.lowUpdateRate = IsOn(key.QueryNumber(kLowUpdateRateValue));
    return flags;
}

PreferenceFlags CSettingsStore::SavePreferences(const PreferenceFlags& wanted,
                                                const std::string& programPath)
{
    PreferenceFlags stored = wanted;
    stored.runAtStartup = wanted.runAtStartup ? RegisterStartup(programPath) : !UnregisterStartup();

    CRegistryKey key = OpenOrCreateKey(m_roots, kSettingsKeyPath);
    if (!key.IsOpen())
        return {};
    key.SetNumber(kRunAtStartupValue, FlagNumber(stored.runAtStartup));
    key.SetNumber(kRunMinimizedValue, FlagNumber(stored.runMinimized));
    key.SetNumber(kRememberSettingsValue, FlagNumber(stored.rememberSettings));
    key.SetNumber(kLowUpdateRateValue, FlagNumber(stored.lowUpdateRate));
    return stored;
}

bool CSettingsStore::RegisterStartup(const std::string& programPath)
{
    std::string storedPath;
    {
        const CRegistryKey settings = OpenExistingKey(m_roots, kSettingsKeyPath);
        if (IsOn(settings.QueryNumber(kPathStoredValue)))
            storedPath = settings.QueryText(kStoredPathValue, kPathBufferSize);
    }

    const std::string& path = programPath.empty() ? storedPath : programPath;
    if (path.empty())
        return false;

    bool written = false;
    {
        CRegistryKey run;
        if (run.Create(m_roots.machine, kRunKeyPath, KEY_ALL_ACCESS) == ERROR_SUCCESS) {
            written = run.SetText(kRunValueName, RunCommandFor(path)) == ERROR_SUCCESS;
            // One entry is enough: the user's own copy would start a second instance.
            if (written) {
                CRegistryKey userRun;
                if (userRun.Open(m_roots.user, kRunKeyPath, KEY_ALL_ACCESS) == ERROR_SUCCESS)
                    userRun.DeleteValue(kRunValueName);
            }
        }
        if (!written && run.Create(m_roots.user, kRunKeyPath, KEY_ALL_ACCESS) == ERROR_SUCCESS)
            written = run.SetText(kRunValueName, RunCommandFor(path)) == ERROR_SUCCESS;
    }

    if (path != storedPath) {
        CRegistryKey settings = OpenOrCreateKey(m_roots, kSettingsKeyPath);
        if (settings.IsOpen() && settings.SetText(kStoredPathValue, path) == ERROR_SUCCESS)
            settings.SetNumber(kPathStoredValue, 1);
    }
    return written;
}

bool CSettingsStore::UnregisterStartup()
{
    bool anyLeft = false;
    for (HKEY root : {m_roots.machine, m_roots.user}) {
        CRegistryKey run;
        if (run.Open(root, kRunKeyPath, KEY_ALL_ACCESS) == ERROR_SUCCESS) {
            const LONG result = run.DeleteValue(kRunValueName);
            anyLeft = anyLeft || (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND);
        } else if (run.Open(root, kRunKeyPath, KEY_QUERY_VALUE) == ERROR_SUCCESS) {
            // Readable but not ours to change: an entry here still starts the program.
            anyLeft = anyLeft || run.HasValue(kRunValueName);
        }
    }
    return !anyLeft;
}
