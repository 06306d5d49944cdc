#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework.h"
#include "test_resource.h"
#include "test_support.h"

namespace {

using Log = std::vector<std::string>;

class BasePage : public CDialog {
public:
    BasePage() : CDialog(IDD_TEST_PAGE) {}
    Log log;

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        log.push_back("default " + std::to_string(message));
        return CDialog::DefWindowProc(message, wParam, lParam);
    }

protected:
    void OnTimer(UINT_PTR nIDEvent)
    {
        log.push_back("timer " + std::to_string(nIDEvent));
        CDialog::OnTimer(nIDEvent);
    }
    void OnBaseCommand() { log.push_back("base command"); }
    void OnSharedCommand() { log.push_back("base shared"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BasePage, CDialog)
    ON_WM_TIMER()
    ON_COMMAND(ID_BASE_COMMAND, OnBaseCommand)
    ON_COMMAND(ID_SHARED_COMMAND, OnSharedCommand)
END_MESSAGE_MAP()

class DerivedPage : public BasePage {
protected:
    void OnSharedCommand() { log.push_back("derived shared"); }
    void OnButton() { log.push_back("button"); }
    void OnThrow() { throw std::runtime_error("handler failed"); }
    LRESULT OnSum(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) + lParam; }
    LRESULT OnEarly(WPARAM, LPARAM)
    {
        log.push_back("setfont");
        return 0;
    }
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
    {
        bool fromSlider = pScrollBar && pScrollBar->m_hWnd == ::GetDlgItem(m_hWnd, IDC_SLIDER);
        log.push_back("hscroll " + std::to_string(nSBCode) + " " + std::to_string(nPos) + " "
                      + (pScrollBar ? (fromSlider ? "slider" : "other") : "none"));
        CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
    }
    void OnDestroy()
    {
        log.push_back("destroy");
        CDialog::OnDestroy();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedPage, BasePage)
    ON_COMMAND(ID_SHARED_COMMAND, OnSharedCommand)
    ON_BN_CLICKED(IDC_BUTTON, OnButton)
    ON_COMMAND(ID_THROWING_COMMAND, OnThrow)
    ON_MESSAGE(WM_APP + 1, OnSum)
    ON_MESSAGE(WM_SETFONT, OnEarly)
    ON_WM_HSCROLL()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hostWnd.Attach(CreateHostWindow());
        ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &hostWnd));
        page.log.clear();
    }
    void TearDown() override { ::DestroyWindow(hostWnd.Detach()); }

    CWnd hostWnd;
    DerivedPage page;
};

const std::string kWmTimer = std::to_string(WM_TIMER);
const std::string kWmHScroll = std::to_string(WM_HSCROLL);

TEST_F(MessageMapTest, TimerReachesBaseHandlerThenDefaultProcessing)
{
    page.SetTimer(2, 10);
    ASSERT_TRUE(PumpUntil([&] { return page.log.size() >= 2; }));
    page.KillTimer(2);
    EXPECT_EQ(page.log[0], "timer 2");
    EXPECT_EQ(page.log[1], "default " + kWmTimer);
}

TEST_F(MessageMapTest, CommandsGoToTheMostDerivedEntryThenChainToTheBase)
{
    page.SendMessage(WM_COMMAND, MAKEWPARAM(ID_SHARED_COMMAND, 0), 0);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(ID_BASE_COMMAND, 1), 0); // accelerator
    EXPECT_EQ(page.log, (Log{"derived shared", "base command"}));
}

TEST_F(MessageMapTest, ButtonClicksButNotOtherNotifications)
{
    HWND button = ::GetDlgItem(page.m_hWnd, IDC_BUTTON);
    ::SendMessage(button, BM_CLICK, 0, 0);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_SETFOCUS), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(page.log, Log{"button"});
}

TEST_F(MessageMapTest, HandlerResultReachesTheSender)
{
    EXPECT_EQ(page.SendMessage(WM_APP + 1, 40, 2), 42);
}

TEST_F(MessageMapTest, HScrollIsCrackedAndPassedOn)
{
    HWND slider = ::GetDlgItem(page.m_hWnd, IDC_SLIDER);
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), reinterpret_cast<LPARAM>(slider));
    page.SendMessage(WM_HSCROLL, 0, 0);
    EXPECT_EQ(page.log, (Log{"hscroll 5 300 slider", "default " + kWmHScroll, "hscroll 0 0 none", "default " + kWmHScroll}));
}

TEST_F(MessageMapTest, ThrowingHandlerDoesNotUnwindThroughTheSystem)
{
    page.SendMessage(WM_COMMAND, MAKEWPARAM(ID_THROWING_COMMAND, 0), 0);
    EXPECT_EQ(page.SendMessage(WM_APP + 1, 1, 1), 2);
}

TEST_F(MessageMapTest, MessagesBeforeInitDialogAreNotDispatched)
{
    // DS_SETFONT sends WM_SETFONT before WM_INITDIALOG: the object is not
    // known yet, so the map must not see it (and nothing may crash).
    DerivedPage fresh;
    ASSERT_TRUE(fresh.Create(IDD_TEST_PAGE, &hostWnd));
    EXPECT_EQ(fresh.log, Log{});
}

TEST_F(MessageMapTest, DestroyRunsTheHandlerAndReleasesTheWindow)
{
    HWND hWnd = page.m_hWnd;
    ASSERT_TRUE(page.DestroyWindow());
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(page.m_hWnd, nullptr);
    ASSERT_FALSE(page.log.empty());
    EXPECT_EQ(page.log.front(), "destroy");
}

TEST(WindowOwnership, DestroysOnlyWhatItCreated)
{
    CWnd hostWnd;
    hostWnd.Attach(CreateHostWindow());
    HWND created;
    {
        DerivedPage page;
        ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &hostWnd));
        created = page.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(created));

    HWND foreign = CreateHostWindow();
    {
        CWnd attached;
        ASSERT_TRUE(attached.Attach(foreign));
        EXPECT_FALSE(attached.Attach(foreign)); // already attached
    }
    EXPECT_TRUE(::IsWindow(foreign));
    ::DestroyWindow(foreign);
    ::DestroyWindow(hostWnd.Detach());
}

} // namespace
