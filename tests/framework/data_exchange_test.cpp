#include <gtest/gtest.h>

#include <vector>

#include "framework.h"
#include "test_resource.h"
#include "test_support.h"

namespace {

class ExchangePage : public CDialog {
public:
    ExchangePage() : CDialog(IDD_TEST_PAGE) {}

    int radio = -1;
    int check = 0;
    std::string label;
    int number = 0;
    CSliderCtrl slider;
    std::vector<int> failures;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_SLIDER, slider);
        DDX_Radio(pDX, IDC_RADIO0, radio);
        DDX_Check(pDX, IDC_CHECK, check);
        DDX_Text(pDX, IDC_LABEL, label);
        DDX_Text(pDX, IDC_NUMBER, number);
    }
    void OnDataExchangeFailure(int controlId) override { failures.push_back(controlId); }
};

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = CreateHostWindow();
        hostWnd.Attach(host);
    }
    void TearDown() override { ::DestroyWindow(host); }

    void CreatePage()
    {
        ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &hostWnd));
    }
    HWND Item(int id) { return ::GetDlgItem(page.m_hWnd, id); }
    LRESULT CheckOf(int id) { return ::SendMessage(Item(id), BM_GETCHECK, 0, 0); }
    std::string ReadText(int id)
    {
        char text[256] = {};
        ::GetWindowTextA(Item(id), text, sizeof text);
        return text;
    }

    HWND host = nullptr;
    CWnd hostWnd;
    ExchangePage page;
};

TEST_F(DataExchangeTest, InitialisationBindsControlsAndWritesMembers)
{
    page.label = "start";
    page.number = 7;
    CreatePage();
    EXPECT_EQ(page.slider.m_hWnd, Item(IDC_SLIDER));
    EXPECT_EQ(ReadText(IDC_LABEL), "start");
    EXPECT_EQ(ReadText(IDC_NUMBER), "7");
    EXPECT_TRUE(page.failures.empty());
}

TEST_F(DataExchangeTest, RadioGroupBothWays)
{
    CreatePage();
    ::SendMessage(Item(IDC_RADIO_OTHER), BM_SETCHECK, BST_CHECKED, 0);

    for (int value : {0, 1, -1}) {
        page.radio = value;
        ASSERT_TRUE(page.UpdateData(FALSE));
        EXPECT_EQ(CheckOf(IDC_RADIO0), value == 0 ? BST_CHECKED : BST_UNCHECKED) << value;
        EXPECT_EQ(CheckOf(IDC_RADIO1), value == 1 ? BST_CHECKED : BST_UNCHECKED) << value;
        page.radio = 99;
        ASSERT_TRUE(page.UpdateData(TRUE));
        EXPECT_EQ(page.radio, value);
    }
    // The next group's button is neither counted nor touched.
    EXPECT_EQ(CheckOf(IDC_RADIO_OTHER), BST_CHECKED);
}

TEST_F(DataExchangeTest, CheckAndTextBothWays)
{
    CreatePage();
    page.check = 1;
    page.label = "256 MBs";
    page.number = -17;
    ASSERT_TRUE(page.UpdateData(FALSE));
    EXPECT_EQ(CheckOf(IDC_CHECK), BST_CHECKED);
    EXPECT_EQ(ReadText(IDC_LABEL), "256 MBs");
    EXPECT_EQ(ReadText(IDC_NUMBER), "-17");

    ::SendMessage(Item(IDC_CHECK), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SetWindowTextA(Item(IDC_LABEL), "typed");
    ::SetWindowTextA(Item(IDC_NUMBER), " 60000 ");
    ASSERT_TRUE(page.UpdateData(TRUE));
    EXPECT_EQ(page.check, 0);
    EXPECT_EQ(page.label, "typed");
    EXPECT_EQ(page.number, 60000);
}

TEST_F(DataExchangeTest, BadNumberCallsTheHookAndKeepsTheMember)
{
    CreatePage();
    page.number = 5;
    for (const char* text : {"abc", "12x", "", "99999999999"}) {
        page.failures.clear();
        ::SetWindowTextA(Item(IDC_NUMBER), text);
        EXPECT_FALSE(page.UpdateData(TRUE)) << text;
        EXPECT_EQ(page.number, 5) << text;
        EXPECT_EQ(page.failures, std::vector<int>{IDC_NUMBER}) << text;
    }
    // The other bindings were still exchanged.
    ::SetWindowTextA(Item(IDC_LABEL), "still read");
    page.UpdateData(TRUE);
    EXPECT_EQ(page.label, "still read");
}

TEST_F(DataExchangeTest, MissingControlFailsWithoutThrowing)
{
    struct MissingPage : ExchangePage {
        void DoDataExchange(CDataExchange* pDX) override
        {
            DDX_Text(pDX, 4242, label);
            DDX_Check(pDX, IDC_CHECK, check);
        }
    } missing;
    ASSERT_TRUE(missing.Create(IDD_TEST_PAGE, &hostWnd));
    EXPECT_EQ(missing.failures, std::vector<int>{4242});
    missing.check = 1;
    EXPECT_FALSE(missing.UpdateData(FALSE));
    EXPECT_EQ(::SendMessage(::GetDlgItem(missing.m_hWnd, IDC_CHECK), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(DataExchangeTest, WritesOnlyWhatChanged)
{
    CreatePage();
    page.radio = 1;
    page.check = 1;
    page.label = "same";
    page.number = 3;
    MessageLog radio0(Item(IDC_RADIO0)), radio1(Item(IDC_RADIO1)), check(Item(IDC_CHECK));
    MessageLog label(Item(IDC_LABEL)), number(Item(IDC_NUMBER));

    for (int round = 0; round < 3; ++round)
        ASSERT_TRUE(page.UpdateData(FALSE));
    EXPECT_EQ(radio0.Count(BM_SETCHECK), 0); // it was unchecked already
    EXPECT_EQ(radio1.Count(BM_SETCHECK), 1);
    EXPECT_EQ(check.Count(BM_SETCHECK), 1);
    EXPECT_EQ(label.Count(WM_SETTEXT), 1);
    EXPECT_EQ(number.Count(WM_SETTEXT), 1);

    page.label = "changed";
    ASSERT_TRUE(page.UpdateData(FALSE));
    EXPECT_EQ(label.Count(WM_SETTEXT), 2);
    EXPECT_EQ(number.Count(WM_SETTEXT), 1);
}

TEST_F(DataExchangeTest, UserChangesSnapBackToTheMembers)
{
    CreatePage();
    page.radio = 1;
    page.check = 0;
    ASSERT_TRUE(page.UpdateData(FALSE));

    // The user picks the other radio button and ticks the box.
    ::SendMessage(Item(IDC_RADIO0), BM_CLICK, 0, 0);
    ::SendMessage(Item(IDC_CHECK), BM_CLICK, 0, 0);
    ASSERT_EQ(CheckOf(IDC_RADIO0), BST_CHECKED);
    ASSERT_EQ(CheckOf(IDC_RADIO1), BST_UNCHECKED);
    ASSERT_EQ(CheckOf(IDC_CHECK), BST_CHECKED);

    ASSERT_TRUE(page.UpdateData(FALSE));
    EXPECT_EQ(CheckOf(IDC_RADIO0), BST_UNCHECKED);
    EXPECT_EQ(CheckOf(IDC_RADIO1), BST_CHECKED);
    EXPECT_EQ(CheckOf(IDC_CHECK), BST_UNCHECKED);
}

} // namespace
