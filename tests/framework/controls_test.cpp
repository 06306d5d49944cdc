#include <gtest/gtest.h>

#include "framework.h"
#include "test_resource.h"
#include "test_support.h"

namespace {

class ControlsPage : public CDialog {
public:
    ControlsPage() : CDialog(IDD_TEST_PAGE) {}
    CSliderCtrl slider;
    CProgressCtrl progress;
    CSpinButtonCtrl spin;
    CEdit buddy;
    CListCtrl list;
    CButton button;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_SLIDER, slider);
        DDX_Control(pDX, IDC_PROGRESS, progress);
        DDX_Control(pDX, IDC_SPIN, spin);
        DDX_Control(pDX, IDC_SPIN_BUDDY, buddy);
        DDX_Control(pDX, IDC_LIST, list);
        DDX_Control(pDX, IDC_BUTTON, button);
    }
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hostWnd.Attach(CreateHostWindow());
        ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &hostWnd));
    }
    void TearDown() override { ::DestroyWindow(hostWnd.Detach()); }

    CWnd hostWnd;
    ControlsPage page;
};

TEST_F(ControlsTest, RangesAbove32767ReadBackExactly)
{
    page.slider.SetRange(0, 98304, TRUE);
    page.slider.SetPos(70000);
    EXPECT_EQ(page.slider.SendMessage(TBM_GETRANGEMIN), 0);
    EXPECT_EQ(page.slider.SendMessage(TBM_GETRANGEMAX), 98304);
    EXPECT_EQ(page.slider.GetPos(), 70000);

    page.progress.SetRange32(0, 70000);
    EXPECT_EQ(page.progress.SetPos(65537), 0);
    EXPECT_EQ(page.progress.GetPos(), 65537);
    EXPECT_EQ(page.progress.SendMessage(PBM_GETRANGE, TRUE), 0);
    EXPECT_EQ(page.progress.SendMessage(PBM_GETRANGE, FALSE), 70000);

    page.spin.SetRange32(10, 60000);
    page.spin.SetPos32(60000);
    BOOL error = TRUE;
    EXPECT_EQ(page.spin.GetPos32(&error), 60000);
    EXPECT_FALSE(error);
    DWORD raw = page.spin.GetPos();
    EXPECT_EQ(LOWORD(raw), 60000);
    EXPECT_EQ(HIWORD(raw), 0);
}

TEST_F(ControlsTest, SpinReportsABuddyTextThatIsNoPosition)
{
    page.spin.SetRange32(10, 60000);
    page.spin.SetPos32(100);
    page.buddy.SetWindowText("abc");
    EXPECT_NE(HIWORD(page.spin.GetPos()), 0);
    BOOL error = FALSE;
    page.spin.GetPos32(&error);
    EXPECT_TRUE(error);
    // Setting the same position again repairs the text.
    page.spin.SetPos32(100);
    EXPECT_EQ(HIWORD(page.spin.GetPos()), 0);
    EXPECT_EQ(WindowText(page.buddy), "100");
}

TEST_F(ControlsTest, EachSetterIsTheOneMessageItNames)
{
    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    page.list.InsertColumn(0, "Data Type");
    page.list.InsertColumn(1, "Value");
    page.list.InsertItem(0, "Memory Load");
    MessageLog progress(page.progress, {PBM_GETPOS, PBM_SETPOS, PBM_GETRANGE, PBM_SETRANGE32});
    MessageLog slider(page.slider, {TBM_GETPOS, TBM_SETPOS});
    MessageLog spin(page.spin, {UDM_GETPOS32, UDM_SETPOS32});
    MessageLog button(page.button, {BM_GETIMAGE, BM_SETIMAGE});
    MessageLog list(page.list, {LVM_GETITEMTEXTA, LVM_SETITEMTEXTA, LVM_GETCOLUMNWIDTH, LVM_SETCOLUMNWIDTH, LVM_GETTEXTCOLOR, LVM_SETTEXTCOLOR});
    // The system's own icon handling reads the icon back after setting it.
    MessageLog hostIcon(hostWnd, {WM_SETICON});
    for (int round = 0; round < 2; ++round) {
        page.progress.SetRange32(0, 100);
        page.progress.SetPos(40);
        page.slider.SetPos(30);
        page.spin.SetPos32(20);
        page.button.SetIcon(icon);
        page.list.SetItemText(0, 1, "37 %");
        page.list.SetColumnWidth(0, 250);
        page.list.SetTextColor(RGB(200, 100, 0));
        hostWnd.SetIcon(icon, TRUE);
    }
    EXPECT_TRUE(SameMessages(progress, {PBM_SETRANGE32, PBM_SETPOS, PBM_SETRANGE32, PBM_SETPOS}));
    EXPECT_TRUE(SameMessages(slider, {TBM_SETPOS, TBM_SETPOS}));
    EXPECT_TRUE(SameMessages(spin, {UDM_SETPOS32, UDM_SETPOS32}));
    EXPECT_TRUE(SameMessages(button, {BM_SETIMAGE, BM_SETIMAGE}));
    EXPECT_TRUE(SameMessages(list, {LVM_SETITEMTEXTA, LVM_SETCOLUMNWIDTH, LVM_SETTEXTCOLOR, LVM_SETITEMTEXTA, LVM_SETCOLUMNWIDTH, LVM_SETTEXTCOLOR}));
    EXPECT_TRUE(SameMessages(hostIcon, {WM_SETICON, WM_SETICON}));
    EXPECT_EQ(page.button.GetIcon(), icon);
}

TEST_F(ControlsTest, IfChangedWritesReadTheControlAndWriteOnlyADifference)
{
    page.progress.SetRange32(0, 100);
    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    HWND label = ::GetDlgItem(page, IDC_LABEL);
    MessageLog progress(page.progress, {PBM_GETPOS, PBM_SETPOS, WM_SHOWWINDOW});
    MessageLog button(page.button), text(label), check(::GetDlgItem(page, IDC_CHECK));
    for (int round = 0; round < 3; ++round) {
        SetPosIfChanged(page.progress, 40);
        SetIconIfChanged(page.button, icon);
        SetWindowTextIfChanged(label, "37 %");
        SetCheckIfChanged(::GetDlgItem(page, IDC_CHECK), BST_CHECKED);
        ShowIfChanged(page.progress, false);
        EnableIfChanged(page.button, false);
    }
    EXPECT_TRUE(SameMessages(progress, {PBM_GETPOS, PBM_SETPOS, WM_SHOWWINDOW, PBM_GETPOS, PBM_GETPOS}));
    EXPECT_EQ(button.Count(BM_GETIMAGE), 3);
    EXPECT_EQ(button.Count(BM_SETIMAGE), 1);
    EXPECT_EQ(button.Count(WM_ENABLE), 1);
    EXPECT_TRUE(SameMessages(text, {WM_GETTEXTLENGTH, WM_GETTEXT, WM_SETTEXT, WM_GETTEXTLENGTH, WM_GETTEXT, WM_GETTEXTLENGTH, WM_GETTEXT}));
    EXPECT_TRUE(SameMessages(check, {BM_GETCHECK, BM_SETCHECK, BM_GETCHECK, BM_GETCHECK}));
    EXPECT_EQ(page.progress.GetPos(), 40);
    EXPECT_EQ(page.button.GetIcon(), icon);
    EXPECT_EQ(WindowText(label), "37 %");
    EXPECT_FALSE(::IsWindowEnabled(page.button));

    // The control itself is compared, not a remembered value: a change made
    // behind the helper's back is put right.
    ::SendMessage(page.progress, PBM_SETPOS, 7, 0);
    SetPosIfChanged(page.progress, 40);
    EXPECT_EQ(page.progress.GetPos(), 40);
}

TEST_F(ControlsTest, ListInReportModeKeepsRowsAndTexts)
{
    CListCtrl& list = page.list;
    EXPECT_EQ(list.InsertColumn(0, "Data Type"), 0);
    EXPECT_EQ(list.InsertColumn(1, "Value"), 1);
    list.SetColumnWidth(0, 250);
    list.SetColumnWidth(1, 150);
    EXPECT_EQ(list.SendMessage(LVM_GETCOLUMNWIDTH, 0), 250);
    EXPECT_EQ(list.SendMessage(LVM_GETCOLUMNWIDTH, 1), 150);
    list.SetTextColor(RGB(200, 100, 0));
    EXPECT_EQ(list.SendMessage(LVM_GETTEXTCOLOR), 0x0064C8);
    list.SetExtendedStyle(LVS_EX_HEADERDRAGDROP);
    EXPECT_EQ(list.SetExtendedStyle(0x829), static_cast<DWORD>(LVS_EX_HEADERDRAGDROP));
    EXPECT_EQ(list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE), 0x829);

    const char* labels[] = {"first", "second", "third"};
    for (const char* label : labels)
        list.InsertItem(20, label); // past the end: appends
    ASSERT_EQ(ListRowCount(list), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(ListCellText(list, row, 0), labels[row]);

    const std::string longText(300, 'x');
    list.SetItemText(1, 1, longText);
    EXPECT_EQ(ListCellText(list, 1, 1), longText);
    EXPECT_EQ(ListCellText(list, 2, 1), "");

    list.DeleteAllItems();
    EXPECT_EQ(ListRowCount(list), 0);
}

TEST_F(ControlsTest, GetDlgItemWrapsChildrenAndMapsRectangles)
{
    CWnd* item = page.GetDlgItem(IDC_LABEL);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->m_hWnd, ::GetDlgItem(page.m_hWnd, IDC_LABEL));
    EXPECT_EQ(page.GetDlgItem(4242), nullptr);

    page.MoveWindow(10, 20, 300, 200, FALSE);
    RECT rect;
    item->GetWindowRect(&rect);
    page.ScreenToClient(&rect);
    RECT expected = {5, 57, 85, 65};
    ::MapDialogRect(page.m_hWnd, &expected);
    EXPECT_EQ(rect.left, expected.left);
    EXPECT_EQ(rect.top, expected.top);
    EXPECT_EQ(rect.right, expected.right);
    EXPECT_EQ(rect.bottom, expected.bottom);
}

} // namespace
