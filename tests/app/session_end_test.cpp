#include <windows.h>
#include <commctrl.h>

#include "app_fixture.h"
#include "resource.h"

namespace {

int engineObjectsEnded = 0;
void NoteEngineObjectEnded(const void*) { ++engineObjectsEnded; }

class SessionEndTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        StandInSetPhysicalMemory(2048, 1500);
        engineObjectsEnded = 0;
        StandInOnFreeObjectDestroyed(NoteEngineObjectEnded);
    }
    void TearDown() override
    {
        StandInOnFreeObjectDestroyed(nullptr);
        AppTest::TearDown();
    }
    // Values a user set on the Regular Free page and never stored.
    void ChangeRegularFree() const
    {
        HWND page = View()->GetRegularFreePage()->m_hWnd;
        Click(page, IDC_RADIO_FREE_MEMORY);
        ::SendDlgItemMessage(page, IDC_REGULAR_AMOUNT_SLIDER, TBM_SETPOS, TRUE, 640);
        ::SendDlgItemMessage(page, IDC_INTERVAL_SPIN, UDM_SETPOS32, 0, 45);
    }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0) const
    {
        return ::SendMessage(*Frame(), message, wParam, lParam);
    }
    static std::vector<std::string> ShellAndRegistryCalls()
    {
        std::vector<std::string> lines;
        for (const LoggedCall& call : CallLog::All())
            if (call.kind == LoggedCall::Shell || call.kind == LoggedCall::RegSetValue)
                lines.push_back(call.Describe());
        return lines;
    }
};

TEST_F(SessionEndTest, TheSessionEndSavesRemovesTheIconAndEndsRunsBeforeTheHandlerReturns)
{
    ASSERT_TRUE(StartApp());
    Command(ID_FILE_HIDE_TO_TRAY);
    ChangeRegularFree();
    StandInSetProgress(30); // a run in progress
    CallLog::Clear();

    EXPECT_EQ(Send(WM_QUERYENDSESSION, 0), TRUE) << "never holds up the session end";
    EXPECT_TRUE(ShellAndRegistryCalls().empty()) << "the query alone changes nothing";
    Send(WM_ENDSESSION, TRUE);
    EXPECT_EQ(Setting("page41-01"), DWORD(0));
    EXPECT_EQ(Setting("page41-02"), DWORD(640));
    EXPECT_EQ(Setting("page41-04"), DWORD(45));
    const std::vector<std::string> expected = {"page41-01 = 0", "page41-02 = 640", "page41-03 = 0",
                                               "page41-04 = 45", "page41-05 = 0", "NIM_DELETE"};
    EXPECT_EQ(ShellAndRegistryCalls(), expected);
    EXPECT_EQ(engineObjectsEnded, 3) << "each freeing page's run is ended";

    // The process may live on a while: nothing adds the icon back, and an
    // Exit after all saves again as usual.
    CallLog::Clear();
    StandInSetPhysicalMemory(2048, 100);
    StatusTick();
    EXPECT_TRUE(CallLog::Calls(LoggedCall::Shell).empty());
    ::SendDlgItemMessage(View()->GetRegularFreePage()->m_hWnd, IDC_REGULAR_AMOUNT_SLIDER, TBM_SETPOS, TRUE, 320);
    Command(ID_FILE_EXIT);
    EXPECT_EQ(Setting("page41-02"), DWORD(320));
}

TEST_F(SessionEndTest, ACloseRequestOfTheRestartManagerSavesOnceAndEndsTheProgram)
{
    ASSERT_TRUE(StartApp());
    ChangeRegularFree();
    CallLog::Clear();
    HWND frame = *Frame();
    EXPECT_EQ(Send(WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
    Send(WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_FALSE(::IsWindow(frame));
    MSG msg;
    EXPECT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the message loop ends";
    const std::vector<std::string> expected = {"page41-01 = 0", "page41-02 = 640", "page41-03 = 0",
                                               "page41-04 = 45", "page41-05 = 0", "NIM_DELETE"};
    EXPECT_EQ(ShellAndRegistryCalls(), expected);
}

TEST_F(SessionEndTest, ACancelledSessionEndChangesNothing)
{
    ASSERT_TRUE(StartApp());
    ChangeRegularFree();
    CallLog::Clear();
    EXPECT_EQ(Send(WM_QUERYENDSESSION, 0), TRUE);
    Send(WM_ENDSESSION, FALSE);
    EXPECT_TRUE(ShellAndRegistryCalls().empty());
    EXPECT_EQ(engineObjectsEnded, 0);
    EXPECT_FALSE(Setting("page41-02").has_value());
    StandInSetPhysicalMemory(2048, 100);
    StatusTick();
    EXPECT_EQ(Describe(CallLog::Calls(LoggedCall::Shell)), std::vector<std::string>{"NIM_MODIFY"});
}

} // namespace
