// A user who may not write under the machine root keeps settings and start at
// log-on under the user's own root; reads follow the writes.
#include "registry_sandbox.h"
#include "settings_store.h"

namespace {

using SettingsFallback = RegistrySandbox;

const char* const kProgram = "C:\\Kolvar\\Kolvar.exe";

TEST_F(SettingsFallback, ReadOnlyMachineKeyLeavesItUntouchedAndUsesTheUserKey)
{
    PutNumber(m_machine, kSettings, "page41-02", 500);
    MakeReadOnly(m_machine, kSettings);
    CSettingsStore store(Roots());
    store.SaveView({1, 20, 30, 40, true});
    PreferenceFlags wanted;
    wanted.lowUpdateRate = wanted.rememberSettings = true;
    store.SavePreferences(wanted, kProgram);

    EXPECT_EQ(GetNumber(m_machine, kSettings, "page41-02"), 500u);
    EXPECT_FALSE(GetRaw(m_machine, kSettings, "setting04"));
    EXPECT_EQ(GetNumber(m_user, kSettings, "page41-02"), 20u);
    EXPECT_EQ(GetNumber(m_user, kSettings, "setting04"), 1u);

    const ViewRestore restore = store.RestoreView();
    EXPECT_TRUE(restore.lowUpdateRate);
    EXPECT_EQ(restore.regularFree.freeAmountMB, 20);
}

TEST_F(SettingsFallback, UnwritableMachineRunKeyRegistersForTheUser)
{
    MakeReadOnly(m_machine, kRun);
    MakeReadOnly(m_machine, kSettings);
    CSettingsStore store(Roots());
    PreferenceFlags wanted;
    wanted.runAtStartup = true;
    EXPECT_TRUE(store.SavePreferences(wanted, kProgram).runAtStartup);
    EXPECT_FALSE(GetRaw(m_machine, kRun, "Kolvar"));
    EXPECT_EQ(GetText(m_user, kRun, "Kolvar"), "\"C:\\Kolvar\\Kolvar.exe\"");
    EXPECT_EQ(GetText(m_user, kSettings, "path01"), kProgram);
    EXPECT_EQ(GetNumber(m_user, kSettings, "setting01"), 1u);
    EXPECT_TRUE(store.LoadPreferences().runAtStartup);
}

TEST_F(SettingsFallback, AMachineEntryTheUserCannotRemoveStaysReportedAsOn)
{
    PutText(m_machine, kRun, "Kolvar", "\"C:\\Admin\\Kolvar.exe\"");
    MakeReadOnly(m_machine, kRun);
    CSettingsStore store(Roots());
    EXPECT_FALSE(store.UnregisterStartup());
    EXPECT_TRUE(store.SavePreferences({}, kProgram).runAtStartup);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "setting01"), 1u);
}

TEST_F(SettingsFallback, MachineRootThatCannotBeOpenedAtAllFallsBackToo)
{
    // A handle to a key deleted under it: nothing opens or is created there.
    HKEY gone = nullptr;
    ASSERT_EQ(RegCreateKeyExA(m_machine, "gone", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &gone, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyA(m_machine, "gone"), ERROR_SUCCESS);
    CSettingsStore store({gone, m_user});
    EXPECT_TRUE(store.RegisterStartup(kProgram));
    EXPECT_TRUE(GetRaw(m_user, kRun, "Kolvar"));
    store.SaveView({0, 9, 0, 0, false});
    EXPECT_EQ(store.RestoreView().regularFree.freeAmountMB, 0); // "setting03" is off
    EXPECT_EQ(GetNumber(m_user, kSettings, "page41-02"), 9u);
    RegCloseKey(gone);
}

TEST_F(SettingsFallback, WritesGoWhereTheNextReadLooks)
{
    // An earlier run without rights left its settings in the user key; a run
    // that may write the machine key keeps using them rather than splitting.
    PutNumber(m_user, kSettings, "setting02", 1);
    CSettingsStore store(Roots());
    store.SaveView({0, 5, 0, 0, false});
    EXPECT_FALSE(KeyExists(m_machine, kSettings));
    EXPECT_EQ(GetNumber(m_user, kSettings, "page41-02"), 5u);
    EXPECT_TRUE(store.ReadRunMinimized());
}

TEST_F(SettingsFallback, RegisteringMachineWideDropsTheUsersOwnEntry)
{
    PutText(m_user, kRun, "Kolvar", "\"C:\\Old\\Kolvar.exe\"");
    CSettingsStore store(Roots());
    EXPECT_TRUE(store.RegisterStartup(kProgram));
    EXPECT_TRUE(GetRaw(m_machine, kRun, "Kolvar"));
    EXPECT_FALSE(GetRaw(m_user, kRun, "Kolvar"));
}

// The 64-bit program finds this user's settings where Windows put the 32-bit
// program's writes, and the user's log-on start still naming that program.
TEST_F(SettingsFallback, TheFirstStartTakesOverTheVirtualStoreCopyOnce)
{
    const char* const copy = "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Velkor\\Halven Mark";
    const std::string old = "C:\\Program Files (x86)\\Kolvar\\Kolvar.exe";
    PutNumber(m_machine, kSettings, "page41-02", 500);
    MakeReadOnly(m_machine, kSettings);
    PutNumber(m_user, copy, "setting03", 1);
    PutNumber(m_user, copy, "page41-02", 700);
    PutText(m_user, copy, "page41-03", "12"); // wrong type: not a number to take
    PutText(m_user, copy, "path01", old);
    PutNumber(m_user, copy, "path02", 1);
    PutText(m_user, kRun, "Kolvar", '"' + old + '"');

    CSettingsStore store(Roots());
    EXPECT_TRUE(store.TakeOverFrom32BitProgram(kProgram));
    EXPECT_EQ(store.RestoreView().regularFree.freeAmountMB, 700);
    EXPECT_FALSE(GetRaw(m_user, kSettings, "page41-03"));
    EXPECT_EQ(GetText(m_user, kSettings, "path01"), kProgram);
    EXPECT_EQ(GetNumber(m_user, kSettings, "path02"), 1u);
    EXPECT_EQ(GetText(m_user, kRun, "Kolvar"), "\"C:\\Kolvar\\Kolvar.exe\"");
    EXPECT_FALSE(store.TakeOverFrom32BitProgram(kProgram)) << "the user's own key is there now";
}

} // namespace
