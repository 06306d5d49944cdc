// Values of the wrong type or size, and keys that cannot be opened: reads
// give a sound number or 0, nothing crashes, and nothing stored changes.
#include "registry_sandbox.h"
#include "settings_store.h"

namespace {

using SettingsBadInput = RegistrySandbox;

struct StoredNumber {
    const char* what;
    DWORD type;
    std::vector<BYTE> data;
    std::int32_t expected;
};

TEST_F(SettingsBadInput, NumbersOfAnyTypeReadAsLittleEndianUpToFourBytesElseZero)
{
    const StoredNumber cases[] = {
        {"eight bytes", REG_QWORD, {5, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"one byte", REG_BINARY, {7}, 7},
        {"two bytes", REG_BINARY, {0x34, 0x12}, 0x1234},
        {"short string", REG_SZ, {'1', 0}, '1'},
        {"long string", REG_SZ, {'1', '2', '3', '4', '5', 0}, 0},
        {"big-endian dword", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 9}, 0x09000000},
        {"empty", REG_BINARY, {}, 0},
    };
    PutNumber(m_machine, kSettings, "setting03", 1);
    const CSettingsStore store(Roots());
    for (const StoredNumber& c : cases) {
        SCOPED_TRACE(c.what);
        PutRaw(m_machine, kSettings, "page41-02", c.type, c.data.data(), DWORD(c.data.size()));
        EXPECT_EQ(store.RestoreView().regularFree.freeAmountMB, c.expected);
        const auto after = GetRaw(m_machine, kSettings, "page41-02");
        ASSERT_TRUE(after);
        EXPECT_EQ(after->type, c.type);
        EXPECT_EQ(after->data, c.data);
    }
}

TEST_F(SettingsBadInput, FlagsStoredAsTextOrWideNumbersAreOff)
{
    PutText(m_machine, kSettings, "setting01", "1");
    const BYTE wideOne[8] = {1};
    PutRaw(m_machine, kSettings, "setting02", REG_QWORD, wideOne, sizeof wideOne);
    const BYTE byteOne = 1;
    PutRaw(m_machine, kSettings, "setting03", REG_BINARY, &byteOne, 1);
    const CSettingsStore store(Roots());
    const PreferenceFlags flags = store.LoadPreferences();
    EXPECT_FALSE(flags.runAtStartup);
    EXPECT_FALSE(flags.runMinimized);
    EXPECT_TRUE(flags.rememberSettings); // one byte holding 1 is the number 1
    EXPECT_FALSE(store.ReadRunMinimized());
}

TEST_F(SettingsBadInput, MissingValuesAmongPresentOnesReadAsZero)
{
    PutNumber(m_machine, kSettings, "setting03", 1);
    PutNumber(m_machine, kSettings, "page41-03", 77);
    const ViewRestore restore = CSettingsStore(Roots()).RestoreView();
    EXPECT_EQ(restore.regularFree.mode, 0);
    EXPECT_EQ(restore.regularFree.freeAmountMB, 0);
    EXPECT_EQ(restore.regularFree.keepAtLeastMB, 77);
    EXPECT_EQ(restore.regularFree.intervalPosResult, 0u);
}

TEST_F(SettingsBadInput, KeysThatCannotBeOpenedGiveDefaultsAndNoCrash)
{
    const HKEY invalid = reinterpret_cast<HKEY>(ULONG_PTR(0x12340));
    CSettingsStore store({invalid, invalid});
    EXPECT_FALSE(store.ReadRunMinimized());
    EXPECT_FALSE(store.RestoreView().rememberSettings);
    store.SaveView({1, 2, 3, 4, true});
    PreferenceFlags wanted;
    wanted.runAtStartup = wanted.runMinimized = true;
    const PreferenceFlags stored = store.SavePreferences(wanted, "C:\\Kolvar\\Kolvar.exe");
    EXPECT_FALSE(stored.runAtStartup);
    EXPECT_FALSE(stored.runMinimized);
    EXPECT_FALSE(store.RegisterStartup("C:\\Kolvar\\Kolvar.exe"));
    EXPECT_TRUE(store.UnregisterStartup());
}

// Registering with no path of its own falls back to the stored "path01",
// which must come back as a whole, terminated path or not at all.
struct StoredPath {
    const char* what;
    DWORD type;
    std::string bytes;      // exactly what is stored, terminator or not
    const char* registered; // nullptr: nothing may be registered
};

TEST_F(SettingsBadInput, StoredPathIsUsedOnlyWhenItFitsAndIsText)
{
    const std::string longest(254, 'p'), tooLong(255, 'p');
    const StoredPath cases[] = {
        {"terminated", REG_SZ, std::string("C:\\K\\Kolvar.exe", 16), "C:\\K\\Kolvar.exe"},
        {"unterminated", REG_SZ, "C:\\K\\Kolvar.exe", "C:\\K\\Kolvar.exe"},
        {"254 characters", REG_SZ, longest + '\0', longest.c_str()},
        {"255 characters and terminator", REG_SZ, tooLong + '\0', nullptr},
        {"300 characters", REG_SZ, std::string(300, 'q') + '\0', nullptr},
        {"a number", REG_DWORD, std::string("\1\0\0\0", 4), nullptr},
        {"empty", REG_SZ, std::string(1, '\0'), nullptr},
    };
    PutNumber(m_machine, kSettings, "path02", 1);
    CSettingsStore store(Roots());
    for (const StoredPath& c : cases) {
        SCOPED_TRACE(c.what);
        PutRaw(m_machine, kSettings, "path01", c.type, c.bytes.data(), DWORD(c.bytes.size()));
        const auto before = GetRaw(m_machine, kSettings, "path01");
        store.UnregisterStartup();
        EXPECT_EQ(store.RegisterStartup(""), c.registered != nullptr);
        const auto run = GetText(m_machine, kRun, "Kolvar");
        if (c.registered)
            EXPECT_EQ(run, '"' + std::string(c.registered) + '"');
        else
            EXPECT_FALSE(run);
        EXPECT_EQ(GetRaw(m_machine, kSettings, "path01")->data, before->data);
    }
}

TEST_F(SettingsBadInput, UnterminatedPathFillingTheWholeBufferStaysBounded)
{
    const std::string full(255, 'u');
    PutNumber(m_machine, kSettings, "path02", 1);
    PutRaw(m_machine, kSettings, "path01", REG_SZ, full.data(), DWORD(full.size()));
    CSettingsStore store(Roots());
    // Either the whole text or nothing; never a cut path or bytes past the buffer.
    if (store.RegisterStartup(""))
        EXPECT_EQ(GetText(m_machine, kRun, "Kolvar"), '"' + full + '"');
    else
        EXPECT_FALSE(GetRaw(m_machine, kRun, "Kolvar"));
}

} // namespace
