// Start at log-on: the Run entry, the remembered path, and "setting01"
// telling the truth about the entry.
#include "registry_sandbox.h"
#include "settings_store.h"

namespace {

using StartupRegistration = RegistrySandbox;

const char* const kProgram = "C:\\Program Files\\Kolvar\\Kolvar.exe";

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
    EXPECT_TRUE(store.UnregisterStartup());   // nothing left to delete is still success
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

}   // namespace
