#include "settings_store.h"

namespace {

const char* const RunAtStartupValue = "setting01";
const char* const RunMinimizedValue = "setting02";
const char* const RememberSettingsValue = "setting03";
const char* const LowUpdateRateValue = "setting04";
const char* const RegularFreeModeValue = "page41-01";
const char* const FreeAmountValue = "page41-02";
const char* const KeepAtLeastValue = "page41-03";
const char* const IntervalValue = "page41-04";
const char* const AppliedValue = "page41-05";
const char* const StoredPathValue = "path01";
const char* const PathStoredValue = "path02";

// Flags count as on only when they hold exactly 1.
bool IsOn(DWORD number) { return number == 1; }

DWORD FlagNumber(bool on) { return on ? 1 : 0; }

// Quoted, so a path with spaces cannot be read as another program plus
// arguments when the shell starts it at log-on.
std::string RunCommandFor(const std::string& programPath) { return '"' + programPath + '"'; }

}   // namespace

bool CSettingsStore::ReadRunMinimized() const
{
    const CRegistryKey key = OpenExistingKey(m_roots, SettingsKeyPath);
    return IsOn(key.QueryNumber(RunMinimizedValue));
}

ViewRestore CSettingsStore::RestoreView() const
{
    const CRegistryKey key = OpenExistingKey(m_roots, SettingsKeyPath);
    ViewRestore restore;
    restore.rememberSettings = IsOn(key.QueryNumber(RememberSettingsValue));
    restore.lowUpdateRate = IsOn(key.QueryNumber(LowUpdateRateValue));
    if (restore.rememberSettings) {
        RegularFreeValues& values = restore.regularFree;
        values.mode = std::int32_t(key.QueryNumber(RegularFreeModeValue));
        values.freeAmountMB = std::int32_t(key.QueryNumber(FreeAmountValue));
        values.keepAtLeastMB = std::int32_t(key.QueryNumber(KeepAtLeastValue));
        values.intervalAnswer = key.QueryNumber(IntervalValue);
    }
    return restore;
}

void CSettingsStore::SaveView(const RegularFreeValues& values)
{
    CRegistryKey key = OpenOrCreateKey(m_roots, SettingsKeyPath);
    if (!key.IsOpen())
        return;
    key.SetNumber(RegularFreeModeValue, DWORD(values.mode));
    key.SetNumber(FreeAmountValue, DWORD(values.freeAmountMB));
    key.SetNumber(KeepAtLeastValue, DWORD(values.keepAtLeastMB));
    key.SetNumber(IntervalValue, values.intervalAnswer);
    key.SetNumber(AppliedValue, FlagNumber(values.applied));
}

PreferenceFlags CSettingsStore::LoadPreferences() const
{
    const CRegistryKey key = OpenExistingKey(m_roots, SettingsKeyPath);
    PreferenceFlags flags;
    flags.runAtStartup = IsOn(key.QueryNumber(RunAtStartupValue));
    flags.runMinimized = IsOn(key.QueryNumber(RunMinimizedValue));
    flags.rememberSettings = IsOn(key.QueryNumber(RememberSettingsValue));
    flags.lowUpdateRate = IsOn(key.QueryNumber(LowUpdateRateValue));
    return flags;
}

PreferenceFlags CSettingsStore::SavePreferences(const PreferenceFlags& wanted,
                                                const std::string& programPath)
{
    PreferenceFlags stored = wanted;
    stored.runAtStartup = wanted.runAtStartup ? RegisterStartup(programPath) : !UnregisterStartup();

    CRegistryKey key = OpenOrCreateKey(m_roots, SettingsKeyPath);
    if (!key.IsOpen())
        return {};
    key.SetNumber(RunAtStartupValue, FlagNumber(stored.runAtStartup));
    key.SetNumber(RunMinimizedValue, FlagNumber(stored.runMinimized));
    key.SetNumber(RememberSettingsValue, FlagNumber(stored.rememberSettings));
    key.SetNumber(LowUpdateRateValue, FlagNumber(stored.lowUpdateRate));
    return stored;
}

bool CSettingsStore::RegisterStartup(const std::string& programPath)
{
    std::string storedPath;
    {
        const CRegistryKey settings = OpenExistingKey(m_roots, SettingsKeyPath);
        if (IsOn(settings.QueryNumber(PathStoredValue)))
            storedPath = settings.QueryText(StoredPathValue, PathBufferSize);
    }

    const std::string& path = programPath.empty() ? storedPath : programPath;
    if (path.empty())
        return false;

    bool written = false;
    {
        CRegistryKey run;
        if (run.Create(m_roots.machine, RunKeyPath, KEY_ALL_ACCESS) == ERROR_SUCCESS) {
            written = run.SetText(RunValueName, RunCommandFor(path)) == ERROR_SUCCESS;
            // One entry is enough: the user's own copy would start a second instance.
            if (written) {
                CRegistryKey userRun;
                if (userRun.Open(m_roots.user, RunKeyPath, KEY_ALL_ACCESS) == ERROR_SUCCESS)
                    userRun.DeleteValue(RunValueName);
            }
        }
        if (!written && run.Create(m_roots.user, RunKeyPath, KEY_ALL_ACCESS) == ERROR_SUCCESS)
            written = run.SetText(RunValueName, RunCommandFor(path)) == ERROR_SUCCESS;
    }

    if (path != storedPath) {
        CRegistryKey settings = OpenOrCreateKey(m_roots, SettingsKeyPath);
        if (settings.IsOpen() && settings.SetText(StoredPathValue, path) == ERROR_SUCCESS)
            settings.SetNumber(PathStoredValue, 1);
    }
    return written;
}

bool CSettingsStore::UnregisterStartup()
{
    bool anyLeft = false;
    for (HKEY root : {m_roots.machine, m_roots.user}) {
        CRegistryKey run;
        if (run.Open(root, RunKeyPath, KEY_ALL_ACCESS) == ERROR_SUCCESS) {
            const LONG result = run.DeleteValue(RunValueName);
            anyLeft = anyLeft || (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND);
        } else if (run.Open(root, RunKeyPath, KEY_QUERY_VALUE) == ERROR_SUCCESS) {
            // Readable but not ours to change: an entry here still starts the program.
            anyLeft = anyLeft || run.HasValue(RunValueName);
        }
    }
    return !anyLeft;
}
