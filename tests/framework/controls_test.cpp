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
    EXPECT_EQ(page.slider.GetRangeMin(), 0);
    EXPECT_EQ(page.slider.GetRangeMax(), 98304);
    EXPECT_EQ(page.slider.GetPos(), 70000);

    page.progress.SetRange32(0, 70000);
    EXPECT_EQ(page.progress.SetPos(65537), 0);
    EXPECT_EQ(page.progress.GetPos(), 65537);
    int lower = -1, upper = -1;
    page.progress.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 70000);

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
    EXPECT_EQ(page.buddy.GetWindowText(), "100");
}

TEST_F(ControlsTest, SettersLeaveUnchangedControlsAlone)
{
    page.progress.SetRange32(0, 100);
    page.slider.SetRange(0, 100);
    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    MessageCounter progress(page.progress), slider(page.slider), button(page.button), list(page.list);
    MessageCounter hostIcon(hostWnd);
    page.list.InsertColumn(0, "Data Type");
    page.list.InsertColumn(1, "Value");
    page.list.InsertItem(0, "Memory Load");
    for (int round = 0; round < 3; ++round) {
        page.progress.SetPos(40);
        page.progress.SetRange32(0, 100);
        page.slider.SetPos(30);
        page.button.SetIcon(icon);
        page.button.SetCheck(BST_UNCHECKED);
        page.list.SetItemText(0, 1, "37 %");
        page.list.SetColumnWidth(0, 250);
        page.list.SetTextColor(RGB(200, 100, 0));
        hostWnd.SetIcon(icon, TRUE);
    }
    EXPECT_EQ(progress.Count(PBM_SETPOS), 1);
    EXPECT_EQ(progress.Count(PBM_SETRANGE32), 0);
    EXPECT_EQ(slider.Count(TBM_SETPOS), 1);
    EXPECT_EQ(button.Count(BM_SETIMAGE), 1);
    EXPECT_EQ(button.Count(BM_SETCHECK), 0);
    EXPECT_EQ(list.Count(LVM_SETITEMTEXTA), 1);
    EXPECT_EQ(list.Count(LVM_SETCOLUMNWIDTH), 1);
    EXPECT_EQ(list.Count(LVM_SETTEXTCOLOR), 1);
    EXPECT_EQ(hostIcon.Count(WM_SETICON), 1);
    EXPECT_EQ(page.button.GetIcon(), icon);
}

TEST_F(ControlsTest, ListInReportModeKeepsRowsAndTexts)
{
    CListCtrl& list = page.list;
    EXPECT_EQ(list.InsertColumn(0, "Data Type"), 0);
    EXPECT_EQ(list.InsertColumn(1, "Value"), 1);
    list.SetColumnWidth(0, 250);
    list.SetColumnWidth(1, 150);
    EXPECT_EQ(list.GetColumnWidth(0), 250);
    EXPECT_EQ(list.GetColumnWidth(1), 150);
    list.SetTextColor(RGB(200, 100, 0));
    EXPECT_EQ(list.GetTextColor(), static_cast<COLORREF>(0x0064C8));
    list.SetExtendedStyle(LVS_EX_HEADERDRAGDROP);
    list.SetExtendedStyle(0x829);
    EXPECT_EQ(list.GetExtendedStyle(), 0x829u);

    const char* labels[] = {"first", "second", "third"};
    for (const char* label : labels)
        list.InsertItem(20, label); // past the end: appends
    ASSERT_EQ(list.GetItemCount(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list.GetItemText(row, 0), labels[row]);

    const std::string longText(300, 'x');
    list.SetItemText(1, 1, longText);
    EXPECT_EQ(list.GetItemText(1, 1), longText);
    EXPECT_EQ(list.GetItemText(2, 1), "");

    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
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
