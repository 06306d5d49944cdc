#include <windows.h>

#include "app_fixture.h"
#include "preference_dlg.h"
#include "resource.h"

namespace {

const int kBoxes[] = {IDC_CHECK_RUN_AT_STARTUP, IDC_CHECK_RUN_MINIMIZED, IDC_CHECK_REMEMBER_SETTINGS,
                      IDC_CHECK_LOW_UPDATE_RATE};
const char* const kFlagNames[] = {"setting01", "setting02", "setting03", "setting04"};

std::vector<bool> Boxes(HWND dialog)
{
    std::vector<bool> checked;
    for (int id : kBoxes)
        checked.push_back(IsChecked(dialog, id));
    return checked;
}

void SetBoxes(HWND dialog, const std::vector<bool>& checked)
{
    for (size_t i = 0; i < checked.size(); ++i)
        ::CheckDlgButton(dialog, kBoxes[i], checked[i] ? BST_CHECKED : BST_UNCHECKED);
}

class PreferenceTest : public AppTest {
protected:
    // Opens the dialog as the Tools menu does and runs act inside it; act
    // must close it.
    void WithDialog(const std::function<void(HWND)>& act)
    {
        auto run = RunModal([&] { Command(ID_TOOLS_PREFERENCE); }, act);
        EXPECT_TRUE(run.dialogSeen);
        EXPECT_FALSE(run.forcedClosed);
    }
    std::vector<std::optional<DWORD>> StoredFlags() const
    {
        std::vector<std::optional<DWORD>> flags;
        for (const char* name : kFlagNames)
            flags.push_back(Setting(name));
        return flags;
    }
    std::optional<std::string> RunEntry() const { return GetText(m_machine, kRun, "Kolvar"); }
};

TEST_F(PreferenceTest, WithNoKeyAllBoxesAreClearedAndDefaultThenCancelStoresNothing)
{
    ASSERT_TRUE(StartApp());
    std::vector<bool> opened, afterDefault;
    std::string caption;
    HWND focus = nullptr, save = nullptr;
    WithDialog([&](HWND dialog) {
        caption = WindowText(dialog);
        focus = ::GetFocus();
        save = ::GetDlgItem(dialog, IDC_SAVE_BUTTON);
        opened = Boxes(dialog);
        Click(dialog, IDC_DEFAULT_BUTTON);
        afterDefault = Boxes(dialog);
        Click(dialog, IDC_CANCEL_BUTTON);
    });
    EXPECT_EQ(caption, "Tools");
    EXPECT_EQ(focus, save);
    EXPECT_EQ(opened, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(afterDefault, (std::vector<bool>{false, true, true, false}));
    EXPECT_FALSE(KeyExists(m_machine, kSettings));
    EXPECT_FALSE(KeyExists(m_user, kSettings));
}

TEST_F(PreferenceTest, StoredFlagsShowAndOnlyExactlyOneCountsAsOn)
{
    PutSetting("setting01", 0);
    PutSetting("setting02", 1);
    PutSetting("setting03", 1);
    PutSetting("setting04", 2);
    ASSERT_TRUE(StartApp());
    std::vector<bool> opened;
    WithDialog([&](HWND dialog) {
        opened = Boxes(dialog);
        Click(dialog, IDC_SAVE_BUTTON);
        PressEscape(dialog);
    });
    EXPECT_EQ(opened, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(StoredFlags(), (std::vector<std::optional<DWORD>>{0, 1, 1, 0}));
}

TEST_F(PreferenceTest, EscapeAfterChangesStoresNothing)
{
    PutSetting("setting02", 1);
    ASSERT_TRUE(StartApp());
    WithDialog([&](HWND dialog) {
        SetBoxes(dialog, {false, false, true, true});
        PressEscape(dialog);
    });
    EXPECT_EQ(StoredFlags(), (std::vector<std::optional<DWORD>>{std::nullopt, 1, std::nullopt, std::nullopt}));
}

TEST_F(PreferenceTest, SavingWithoutStartUpStoresTheFlagsAndLeavesNoRunEntry)
{
    PutSetting("setting04", 0);
    ASSERT_TRUE(StartApp());
    bool openAfterSave = false;
    WithDialog([&](HWND dialog) {
        SetBoxes(dialog, {false, true, false, true});
        Click(dialog, IDC_SAVE_BUTTON);
        openAfterSave = ::IsWindowVisible(dialog) != FALSE;
        Click(dialog, IDC_CANCEL_BUTTON);
    });
    EXPECT_TRUE(openAfterSave);
    EXPECT_EQ(StoredFlags(), (std::vector<std::optional<DWORD>>{0, 1, 0, 1}));
    EXPECT_FALSE(RunEntry().has_value());
    EXPECT_FALSE(GetText(m_user, kRun, "Kolvar").has_value());
}

TEST_F(PreferenceTest, SavingWithStartUpRegistersThisProgramsOwnPath)
{
    PutSetting("setting04", 0);
    ASSERT_TRUE(StartApp());
    CallLog::Clear();
    std::vector<bool> afterSave;
    WithDialog([&](HWND dialog) {
        SetBoxes(dialog, {true, false, false, false});
        Click(dialog, IDC_SAVE_BUTTON);
        afterSave = Boxes(dialog);
        Click(dialog, IDC_CANCEL_BUTTON);
    });
    char module[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, module, sizeof module);
    EXPECT_EQ(afterSave, (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(RunEntry(), "\"" + std::string(module) + "\"");
    EXPECT_EQ(GetText(m_machine, kSettings, "path01"), std::string(module));
    EXPECT_EQ(Setting("path02"), DWORD(1));
    EXPECT_EQ(Setting("setting01"), DWORD(1));
    std::vector<std::string> registry;
    for (const LoggedCall& call : CallLog::All())
        if (call.kind == LoggedCall::RegSetValue || call.kind == LoggedCall::RegDelete)
            registry.push_back(call.Describe());
    const std::string path(module);
    const std::vector<std::string> expected = {"Kolvar = \"\"" + path + "\"\"", "path01 = \"" + path + "\"",
                                               "path02 = 1", "setting01 = 1", "setting02 = 0",
                                               "setting03 = 0", "setting04 = 0"};
    EXPECT_TRUE(SameSequence(registry, expected));

    // Cleared again: the Run entry goes, the remembered path stays.
    WithDialog([&](HWND dialog) {
        ::CheckDlgButton(dialog, IDC_CHECK_RUN_AT_STARTUP, BST_UNCHECKED);
        Click(dialog, IDC_SAVE_BUTTON);
        Click(dialog, IDC_CANCEL_BUTTON);
    });
    EXPECT_FALSE(RunEntry().has_value());
    EXPECT_EQ(Setting("setting01"), DWORD(0));
    EXPECT_EQ(Setting("path02"), DWORD(1));
}

TEST_F(PreferenceTest, ARefusedRegistrationShowsTheBoxCleared)
{
    PutSetting("setting04", 0);
    MakeReadOnly(m_machine, kRun);
    MakeReadOnly(m_user, kRun);
    ASSERT_TRUE(StartApp());
    std::vector<bool> afterSave;
    WithDialog([&](HWND dialog) {
        SetBoxes(dialog, {true, true, false, false});
        Click(dialog, IDC_SAVE_BUTTON);
        afterSave = Boxes(dialog);
        Click(dialog, IDC_CANCEL_BUTTON);
    });
    EXPECT_EQ(afterSave, (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(Setting("setting01"), DWORD(0));
}

TEST_F(PreferenceTest, CancelEndsTheDialogWithZeroAndEscapeWithCancel)
{
    ASSERT_TRUE(StartApp());
    INT_PTR result = -1;
    RunModal([&] { CPreferenceDlg dialog(nullptr, Roots()); result = dialog.DoModal(); },
             [](HWND dialog) { Click(dialog, IDC_CANCEL_BUTTON); });
    EXPECT_EQ(result, 0);
    RunModal([&] { CPreferenceDlg dialog(nullptr, Roots()); result = dialog.DoModal(); },
             [](HWND dialog) { PressEscape(dialog); });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(PreferenceTest, SavedLowUpdateRateWaitsForTheNextStart)
{
    PutSetting("setting04", 0);
    ASSERT_TRUE(StartApp());
    CallLog::Clear();
    WithDialog([&](HWND dialog) {
        SetBoxes(dialog, {false, false, false, true});
        Click(dialog, IDC_SAVE_BUTTON);
        Click(dialog, IDC_CANCEL_BUTTON);
    });
    for (const LoggedCall& call : CallLog::Calls(LoggedCall::SetTimer))
        EXPECT_FALSE(call.window == View()->m_hWnd && call.timerId == CQuendrixView::kStatusTimer);
    EXPECT_EQ(Setting("setting04"), DWORD(1));
}

} // namespace
