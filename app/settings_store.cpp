#include "settings_store.h"

#include <cstring>

#include "wide_text.h"

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

// Where a 32-bit program's writes to HKLM\SOFTWARE\<path> land for a user
// whose writes Windows virtualises, under that user's root.
std::string VirtualStoreCopyOf(const char* machinePath)
{
    const char* const software = "SOFTWARE\\";
    const char* rest = machinePath + std::strlen(software);
    return std::string("Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\") + rest;
}

// The program a Run command starts: the command unquoted.
std::string ProgramOfRunCommand(const std::string& command)
{
    if (command.size() >= 2 && command.front() == '"') {
        const std::size_t close = command.find('"', 1);
        return command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return command;
}

bool Is64BitProgram(const std::string& path)
{
    DWORD kind = 0;
    return ::GetBinaryTypeW(WideFromUtf8(path).c_str(), &kind) && kind == SCS_64BIT_BINARY;
}

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

bool CSettingsStore::TakeOverFrom32BitProgram(const std::string& programPath)
{
    if (programPath.empty())
        return false;
    {
        CRegistryKey userRun;
        if (userRun.Open(m_roots.user, kRunKeyPath, KEY_QUERY_VALUE | KEY_SET_VALUE) == ERROR_SUCCESS) {
            const std::string named = ProgramOfRunCommand(userRun.QueryText(kRunValueName, MAX_PATH + 2));
            if (!named.empty() && named != programPath && !Is64BitProgram(named))
                userRun.SetText(kRunValueName, RunCommandFor(programPath));
        }
    }

    if (OpenExistingKey(m_roots, kSettingsKeyPath).IsOpen())
        return false;
    CRegistryKey old;
    if (old.Open(m_roots.user, VirtualStoreCopyOf(kSettingsKeyPath).c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return false;
    CRegistryKey mine;
    if (mine.Create(m_roots.user, kSettingsKeyPath, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return false;
    for (const char* name : {kRunAtStartupValue, kRunMinimizedValue, kRememberSettingsValue, kLowUpdateRateValue,
                             kRegularFreeModeValue, kFreeAmountValue, kKeepAtLeastValue, kIntervalValue,
                             kAppliedValue}) {
        if (const auto number = old.QueryDword(name))
            mine.SetNumber(name, *number);
    }
    // The stored path named the 32-bit program, which is no more.
    if (!old.QueryText(kStoredPathValue, kPathBufferSize).empty()) {
        mine.SetText(kStoredPathValue, programPath);
        if (const auto stored = old.QueryDword(kPathStoredValue))
            mine.SetNumber(kPathStoredValue, *stored);
    }
    return true;
}
