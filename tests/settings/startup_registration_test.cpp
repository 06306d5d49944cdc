// Start at log-on: the Run entry, the remembered path, and "setting01"
// telling the truth about the entry.
#include "registry_sandbox.h"
#include "settings_store.h"
#include "wide_text.h"

namespace {

using StartupRegistration = RegistrySandbox;

const char* const kProgram = "C:\\Program Files\\Kolvar\\Kolvar.exe";

// A text value as Windows holds it, wide, with no code page in between.
std::wstring WideText(HKEY root, const char* path, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, WideFromUtf8(path).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return L"(no key)";
    wchar_t text[512] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    const LONG result = RegQueryValueExW(key, WideFromUtf8(name).c_str(), nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::wstring(text) : L"(no value)";
}

TEST_F(StartupRegistration, AFolderNamedOutsideTheAnsiCodePageKeepsEveryCharacter)
{
    // Greek, Cyrillic and Chinese: no single ANSI code page holds all three.
    const std::wstring program = L"C:\\Kolvar \u03A9\u043C\u044F\u6F22\\Kolvar.exe";
    CSettingsStore store(Roots());
    EXPECT_TRUE(store.RegisterStartup(Utf8FromWide(program)));
    EXPECT_EQ(WideText(m_machine, kRun, "Kolvar"), L'"' + program + L'"');
    EXPECT_EQ(WideText(m_machine, kSettings, "path01"), program);
    // The stored path serves a registration that has none of its own.
    EXPECT_TRUE(store.UnregisterStartup());
    EXPECT_TRUE(store.RegisterStartup(""));
    EXPECT_EQ(WideText(m_machine, kRun, "Kolvar"), L'"' + program + L'"');
}

TEST_F(StartupRegistration, RegistersTheQuotedProgramPathAndRemembersIt)
{
    CSettingsStore store(Roots());
    EXPECT_TRUE(store.RegisterStartup(kProgram));
    EXPECT_EQ(GetText(m_machine, kRun, "Kolvar"), "\"C:\\Program Files\\Kolvar\\Kolvar.exe\"");
    EXPECT_EQ(GetText(m_machine, kSettings, "path01"), kProgram);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "path02"), 1u);
}

TEST_F(StartupRegistration, AMovedProgramRegistersWhereItNowIs)
{
    PutText(m_machine, kSettings, "path01", "C:\\Old\\Kolvar.exe");
    PutNumber(m_machine, kSettings, "path02", 1);
    CSettingsStore store(Roots());
    EXPECT_TRUE(store.RegisterStartup(kProgram));
    EXPECT_EQ(GetText(m_machine, kRun, "Kolvar"), '"' + std::string(kProgram) + '"');
    EXPECT_EQ(GetText(m_machine, kSettings, "path01"), kProgram);
}

TEST_F(StartupRegistration, WithoutAPathOfItsOwnOnlyAConfirmedStoredPathServes)
{
    PutText(m_machine, kSettings, "path01", "C:\\Stored\\Kolvar.exe");
    CSettingsStore store(Roots());
    for (DWORD notConfirmed : {0u, 2u}) {
        PutNumber(m_machine, kSettings, "path02", notConfirmed);
        EXPECT_FALSE(store.RegisterStartup(""));
        EXPECT_FALSE(GetRaw(m_machine, kRun, "Kolvar"));
    }
    PutNumber(m_machine, kSettings, "path02", 1);
    EXPECT_TRUE(store.RegisterStartup(""));
    EXPECT_EQ(GetText(m_machine, kRun, "Kolvar"), "\"C:\\Stored\\Kolvar.exe\"");
}

TEST_F(StartupRegistration, UnregistrationRemovesEveryEntryButKeepsThePath)
{
    PutText(m_machine, kRun, "Kolvar", "\"C:\\A\\Kolvar.exe\"");
    PutText(m_user, kRun, "Kolvar", "\"C:\\B\\Kolvar.exe\"");
    PutText(m_machine, kRun, "Other", "other.exe");
    PutText(m_machine, kSettings, "path01", "C:\\A\\Kolvar.exe");
    PutNumber(m_machine, kSettings, "path02", 1);
    CSettingsStore store(Roots());
    EXPECT_TRUE(store.UnregisterStartup());
    EXPECT_FALSE(GetRaw(m_machine, kRun, "Kolvar"));
    EXPECT_FALSE(GetRaw(m_user, kRun, "Kolvar"));
    EXPECT_EQ(GetText(m_machine, kRun, "Other"), "other.exe");
    EXPECT_EQ(GetText(m_machine, kSettings, "path01"), "C:\\A\\Kolvar.exe");
    EXPECT_EQ(GetNumber(m_machine, kSettings, "path02"), 1u);
    EXPECT_TRUE(store.UnregisterStartup()); // nothing left to delete is still success
}

TEST_F(StartupRegistration, PreferenceSaveStoresRunAtStartupOnlyWithARunEntry)
{
    CSettingsStore store(Roots());
    PreferenceFlags wanted;
    wanted.runAtStartup = true;

    // Nothing to register: no path given, none stored.
    EXPECT_FALSE(store.SavePreferences(wanted, "").runAtStartup);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "setting01"), 0u);
    EXPECT_FALSE(store.LoadPreferences().runAtStartup);

    EXPECT_TRUE(store.SavePreferences(wanted, kProgram).runAtStartup);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "setting01"), 1u);
    EXPECT_TRUE(GetRaw(m_machine, kRun, "Kolvar"));

    wanted.runAtStartup = false;
    EXPECT_FALSE(store.SavePreferences(wanted, kProgram).runAtStartup);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "setting01"), 0u);
    EXPECT_FALSE(GetRaw(m_machine, kRun, "Kolvar"));
}

} // namespace
