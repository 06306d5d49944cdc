#include <gtest/gtest.h>

#include <vector>

#include "framework.h"
#include "test_resource.h"
#include "test_support.h"

namespace {

class NumberDialog : public CDialog {
public:
    explicit NumberDialog(CWnd* parent = nullptr) : CDialog(IDD_TEST_MODAL, parent) {}
    int number = 0;
    std::vector<int> failures;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NUMBER, number); }
    void OnDataExchangeFailure(int controlId) override { failures.push_back(controlId); }
};

// Drives a modal dialog from a thread timer, which its modal loop
// dispatches: each tick runs the next step, and a bounded number of ticks
// ends the dialog whatever happened.
struct ModalScript {
    static ModalScript* current;
    CDialog* dialog = nullptr;
    HWND owner = nullptr;
    std::vector<std::function<void(HWND)>> steps;
    size_t next = 0;
    int ticks = 0;
    bool ownerDisabledWhileOpen = false;

    INT_PTR Run(CDialog& dlg)
    {
        dialog = &dlg;
        current = this;
        UINT_PTR timer = ::SetTimer(nullptr, 0, 30, Tick);
        INT_PTR result = dlg.DoModal();
        ::KillTimer(nullptr, timer);
        current = nullptr;
        return result;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalScript* script = current;
        if (!script || !script->dialog->m_hWnd)
            return;
        HWND hDlg = script->dialog->m_hWnd;
        if (script->owner)
            script->ownerDisabledWhileOpen = !::IsWindowEnabled(script->owner);
        if (++script->ticks > 100) {
            ::EndDialog(hDlg, -2);
            return;
        }
        if (script->next < script->steps.size())
            script->steps[script->next++](hDlg);
    }
};
ModalScript* ModalScript::current = nullptr;

void PressEscape(HWND hDlg)
{
    HWND focus = ::GetFocus();
    ::PostMessage(focus ? focus : hDlg, WM_KEYDOWN, VK_ESCAPE, 0);
}

void PressOk(HWND hDlg)
{
    ::PostMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDOK)));
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ownerWnd.Attach(CreateHostWindow());
        ownerWnd.ShowWindow(SW_SHOWNOACTIVATE);
    }
    void TearDown() override { ::DestroyWindow(ownerWnd.Detach()); }
    CWnd ownerWnd;
    TestApp app;
};

TEST_F(DialogTest, ModelessPageIsCreatedHiddenAsChild)
{
    CDialog page;
    ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &ownerWnd));
    EXPECT_FALSE(::IsWindowVisible(page.m_hWnd));
    EXPECT_EQ(::GetParent(page.m_hWnd), ownerWnd.m_hWnd);
    EXPECT_TRUE(::GetWindowLongA(page.m_hWnd, GWL_STYLE) & WS_CHILD);
    EXPECT_FALSE(page.Create(IDD_TEST_PAGE, &ownerWnd)); // created once
}

TEST_F(DialogTest, ModelessPageSurvivesEnterAndEscape)
{
    CDialog page;
    ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &ownerWnd));
    page.ShowWindow(SW_SHOW);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(::IsWindow(page.m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(page.m_hWnd));
}

TEST_F(DialogTest, ModalOkSavesAndDisablesTheMainWindowMeanwhile)
{
    app.m_pMainWnd = &ownerWnd; // no parent: the main window owns it
    NumberDialog dialog;
    dialog.number = 5;
    ModalScript script;
    script.owner = ownerWnd.m_hWnd;
    script.steps = {[](HWND hDlg) { ::SetDlgItemTextA(hDlg, IDC_NUMBER, "123"); }, PressOk};
    EXPECT_EQ(script.Run(dialog), IDOK);
    EXPECT_TRUE(script.ownerDisabledWhileOpen);
    EXPECT_TRUE(::IsWindowEnabled(ownerWnd.m_hWnd));
    EXPECT_EQ(dialog.number, 123);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, ModalEscapeCancelsAndOwnerIsTheParentsTopLevelWindow)
{
    CDialog child;
    ASSERT_TRUE(child.Create(IDD_TEST_PAGE, &ownerWnd));
    NumberDialog dialog(&child);
    ModalScript script;
    script.owner = ownerWnd.m_hWnd;
    script.steps = {PressEscape};
    EXPECT_EQ(script.Run(dialog), IDCANCEL);
    EXPECT_TRUE(script.ownerDisabledWhileOpen);
    EXPECT_TRUE(::IsWindowEnabled(ownerWnd.m_hWnd));
}

TEST_F(DialogTest, ModalOkWithBadInputStaysOpen)
{
    NumberDialog dialog(&ownerWnd);
    dialog.number = 5;
    ModalScript script;
    bool openAfterOk = false;
    script.steps = {[](HWND hDlg) { ::SetDlgItemTextA(hDlg, IDC_NUMBER, "many"); }, PressOk,
                    [&](HWND hDlg) { openAfterOk = ::IsWindowVisible(hDlg); }, PressEscape};
    EXPECT_EQ(script.Run(dialog), IDCANCEL);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(dialog.number, 5);
    EXPECT_EQ(dialog.failures, std::vector<int>{IDC_NUMBER});
}

TEST_F(DialogTest, EndDialogResultComesBack)
{
    struct ClosingDialog : CDialog {
        ClosingDialog(CWnd* parent) : CDialog(IDD_TEST_MODAL, parent) {}
        BOOL OnInitDialog() override
        {
            CDialog::OnInitDialog();
            EndDialog(0);
            return TRUE;
        }
    } dialog(&ownerWnd);
    EXPECT_EQ(dialog.DoModal(), 0);
}

TEST_F(DialogTest, ProgramDialogsTakeTheApplicationColours)
{
    CDialog page;
    ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &ownerWnd));
    HWND label = ::GetDlgItem(page.m_hWnd, IDC_LABEL);
    HDC dc = ::GetDC(label);
    auto brushColour = [&](UINT message) -> COLORREF {
        auto brush = reinterpret_cast<HBRUSH>(page.SendMessage(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
        LOGBRUSH info{};
        if (!brush || !::GetObject(brush, sizeof info, &info))
            return CLR_INVALID;
        return info.lbColor;
    };
    EXPECT_NE(brushColour(WM_CTLCOLORSTATIC), RGB(255, 255, 255));

    app.SetDialogBkColor(RGB(255, 255, 255), RGB(0, 0, 0));
    for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN})
        EXPECT_EQ(brushColour(message), RGB(255, 255, 255)) << message;
    EXPECT_EQ(::GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0));
    ::ReleaseDC(label, dc);
}

} // namespace
