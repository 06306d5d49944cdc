// What each access sequence reads and what it leaves stored.
#include "registry_sandbox.h"
#include "settings_store.h"

namespace {

using SettingsSequences = RegistrySandbox;

TEST_F(SettingsSequences, WithNoKeyEverythingReadsAsDefaultAndNothingIsCreated)
{
    const CSettingsStore store(Roots());
    EXPECT_FALSE(store.ReadRunMinimized());
    const ViewRestore restore = store.RestoreView();
    EXPECT_FALSE(restore.lowUpdateRate);
    EXPECT_FALSE(restore.rememberSettings);
    EXPECT_EQ(restore.regularFree.mode, 0);
    const PreferenceFlags flags = store.LoadPreferences();
    EXPECT_FALSE(flags.runAtStartup || flags.runMinimized || flags.rememberSettings || flags.lowUpdateRate);
    EXPECT_FALSE(KeyExists(m_machine, kSettings));
    EXPECT_FALSE(KeyExists(m_user, kSettings));
}

TEST_F(SettingsSequences, FlagsAreOnOnlyWhenExactlyOne)
{
    PutNumber(m_machine, kSettings, "setting01", 1);
    PutNumber(m_machine, kSettings, "setting02", 2);
    PutNumber(m_machine, kSettings, "setting03", 0xFFFFFFFF);
    PutNumber(m_machine, kSettings, "setting04", 0x101);
    const CSettingsStore store(Roots());
    const PreferenceFlags flags = store.LoadPreferences();
    EXPECT_TRUE(flags.runAtStartup);
    EXPECT_FALSE(flags.runMinimized);
    EXPECT_FALSE(flags.rememberSettings);
    EXPECT_FALSE(flags.lowUpdateRate);
    EXPECT_FALSE(store.ReadRunMinimized());
    PutNumber(m_machine, kSettings, "setting02", 1);
    EXPECT_TRUE(store.ReadRunMinimized());
}

TEST_F(SettingsSequences, RestoreReadsRegularFreeValuesOnlyWhenRemembered)
{
    PutNumber(m_machine, kSettings, "setting04", 1);
    PutNumber(m_machine, kSettings, "page41-01", 0xFFFFFFFF);
    PutNumber(m_machine, kSettings, "page41-02", DWORD(-40));
    PutNumber(m_machine, kSettings, "page41-03", 300);
    PutNumber(m_machine, kSettings, "page41-04", 65546);
    PutNumber(m_machine, kSettings, "page41-05", 1);
    const CSettingsStore store(Roots());

    ViewRestore restore = store.RestoreView();
    EXPECT_TRUE(restore.lowUpdateRate);
    EXPECT_FALSE(restore.rememberSettings);
    EXPECT_EQ(restore.regularFree.keepAtLeastMB, 0);

    PutNumber(m_machine, kSettings, "setting03", 1);
    restore = store.RestoreView();
    EXPECT_TRUE(restore.rememberSettings);
    EXPECT_EQ(restore.regularFree.mode, -1);
    EXPECT_EQ(restore.regularFree.freeAmountMB, -40);
    EXPECT_EQ(restore.regularFree.keepAtLeastMB, 300);
    EXPECT_EQ(restore.regularFree.intervalPosResult, 65546u);
    EXPECT_FALSE(restore.regularFree.applied); // the Apply state never comes back
}

TEST_F(SettingsSequences, ViewSaveCreatesTheKeyAndStoresFiveDwords)
{
    CSettingsStore store(Roots());
    store.SaveView({-1, 128, 64, 0x0001000A, true});
    EXPECT_EQ(GetNumber(m_machine, kSettings, "page41-01"), 0xFFFFFFFFu);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "page41-02"), 128u);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "page41-03"), 64u);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "page41-04"), 0x0001000Au);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "page41-05"), 1u);
    EXPECT_FALSE(KeyExists(m_user, kSettings));

    store.SaveView({1, 0, 0, 10, false});
    EXPECT_EQ(GetNumber(m_machine, kSettings, "page41-01"), 1u);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "page41-05"), 0u);
}

TEST_F(SettingsSequences, PreferenceSaveStoresZeroOrOneForEachFlag)
{
    PutNumber(m_machine, kSettings, "setting04", 2);
    CSettingsStore store(Roots());
    PreferenceFlags wanted;
    wanted.runMinimized = true;
    wanted.rememberSettings = true;
    const PreferenceFlags stored = store.SavePreferences(wanted, "C:\\Kolvar\\Kolvar.exe");
    EXPECT_EQ(GetNumber(m_machine, kSettings, "setting01"), 0u);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "setting02"), 1u);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "setting03"), 1u);
    EXPECT_EQ(GetNumber(m_machine, kSettings, "setting04"), 0u);
    EXPECT_TRUE(stored.runMinimized && stored.rememberSettings);
    const PreferenceFlags loaded = store.LoadPreferences();
    EXPECT_TRUE(loaded.runMinimized && loaded.rememberSettings && !loaded.lowUpdateRate);
}

// The one test on the real roots: the exact key paths the program uses.
TEST(SettingsStoreRealRoots, UsesTheMachineKeysByDefault)
{
    const bool hadVendorKey = RegistrySandbox::KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velkor");
    CSettingsStore store;
    store.SaveView({0, 7, 0, 0, false});
    EXPECT_EQ(RegistrySandbox::GetRaw(HKEY_LOCAL_MACHINE, kSettings, "page41-02")->data,
              (std::vector<BYTE>{7, 0, 0, 0}));
    ASSERT_TRUE(store.RegisterStartup("C:\\Kolvar\\Kolvar.exe"));
    EXPECT_EQ(RegistrySandbox::GetRaw(HKEY_LOCAL_MACHINE, kRun, "Kolvar")->type, DWORD(REG_SZ));
    EXPECT_TRUE(store.UnregisterStartup());
    EXPECT_FALSE(RegistrySandbox::GetRaw(HKEY_LOCAL_MACHINE, kRun, "Kolvar"));
    if (!hadVendorKey)
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velkor");
}

} // namespace
