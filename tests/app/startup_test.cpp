#include <windows.h>
#include <sddl.h>

#include <thread>

#include <stdexcept>
#include <vector>

#include "app_fixture.h"
#include "resource.h"
#include "program_icon.h"

namespace {

// How "Run minimized" is stored before the start, and whether the main
// window should be visible after it.
struct RunMinimizedCase {
    const char* name;
    bool keyExists;
    bool valueExists;
    DWORD value;
    bool visible;
};

class StartupVisibility : public AppTest, public ::testing::WithParamInterface<RunMinimizedCase> {};

// Whether the main frame was shown at any moment since the watch began: a
// start to the tray must not flash the window.
class FrameShownWatch {
public:
    FrameShownWatch()
    {
        shown = false;
        m_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, Watch, nullptr, ::GetCurrentThreadId());
    }
    ~FrameShownWatch() { ::UnhookWindowsHookEx(m_hook); }
    FrameShownWatch(const FrameShownWatch&) = delete;
    FrameShownWatch& operator=(const FrameShownWatch&) = delete;
    static bool shown;

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && sent->message == WM_SHOWWINDOW && sent->wParam
            && ClassName(sent->hwnd) == CMainFrame::kWindowClass)
            shown = true;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
};
bool FrameShownWatch::shown = false;

TEST_P(StartupVisibility, OnlyExactlyOneHidesTheWindowAndTheTrayIconIsThereEitherWay)
{
    const RunMinimizedCase& c = GetParam();
    if (c.valueExists)
        PutSetting("setting02", c.value);
    else if (c.keyExists)
        PutSetting("setting04", 0);

    FrameShownWatch watch;
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(::IsWindowVisible(*Frame()) != FALSE, c.visible);
    EXPECT_EQ(FrameShownWatch::shown, c.visible) << "shown at some moment of the start";
    const auto shell = CallLog::Calls(LoggedCall::Shell);
    ASSERT_FALSE(shell.empty());
    EXPECT_EQ(shell[0].shellMessage, DWORD(NIM_ADD));
    EXPECT_EQ(shell[0].record.hWnd, View()->m_hWnd);
    // The start reads and shows; it creates no settings key.
    EXPECT_EQ(KeyExists(m_machine, kSettings), c.keyExists);
}

INSTANTIATE_TEST_SUITE_P(
    RunMinimized, StartupVisibility,
    ::testing::Values(RunMinimizedCase{"NoKey", false, false, 0, true},
                      RunMinimizedCase{"NoValue", true, false, 0, true},
                      RunMinimizedCase{"Zero", true, true, 0, true},
                      RunMinimizedCase{"One", true, true, 1, false},
                      RunMinimizedCase{"Two", true, true, 2, true},
                      RunMinimizedCase{"AllBits", true, true, 0xFFFFFFFF, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppTest, MainWindowIsAFixedSizeCaptionWithMenuTitleAndChipIcons)
{
    ASSERT_TRUE(StartApp());
    HWND frame = *Frame();
    const LONG_PTR style = ::GetWindowLongPtr(frame, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(WindowText(frame).rfind("Velkor Halvenmark", 0), 0u);
    EXPECT_EQ(ClassName(frame), CMainFrame::kWindowClass) << "other programs find the window by its class";

    HMENU menu = ::GetMenu(frame);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(::GetMenuItemCount(menu), 4);
    char popup[32] = {};
    ::GetMenuStringA(menu, 0, popup, sizeof popup, MF_BYPOSITION);
    EXPECT_STREQ(popup, "File");
    EXPECT_EQ(::GetMenuState(menu, ID_FILE_HIDE_TO_TRAY, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), 0u);
    EXPECT_EQ(::GetMenuState(menu, ID_FILE_NEW, MF_BYCOMMAND), UINT(-1)); // the template's menu is gone

    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessage(frame, WM_GETICON, ICON_SMALL, 0)), SmallProgramIcon(IDI_TRAY_CHIP, nullptr));
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessage(frame, WM_GETICON, ICON_BIG, 0)), LargeProgramIcon(IDI_TRAY_CHIP, nullptr));
}

TEST_F(AppTest, TheFormFillsTheClientAreaExactly)
{
    ASSERT_TRUE(StartApp());
    RECT client, form;
    ::GetClientRect(*Frame(), &client);
    ::GetWindowRect(*View(), &form);
    EXPECT_EQ(client.right, form.right - form.left);
    EXPECT_EQ(client.bottom, form.bottom - form.top);
}

TEST_F(AppTest, ALeftClickOnTheTrayIconShowsTheWindowAndNothingElseDoes)
{
    ASSERT_TRUE(StartApp());
    Command(ID_FILE_HIDE_TO_TRAY);
    ASSERT_FALSE(::IsWindowVisible(*Frame()));
    for (UINT mouse : {WM_LBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MOUSEMOVE,
                       WM_MBUTTONUP}) {
        EXPECT_EQ(::SendMessage(*View(), WM_USER + 5, 0, mouse), 0);
        EXPECT_FALSE(::IsWindowVisible(*Frame())) << "mouse message " << mouse;
    }
    EXPECT_EQ(::SendMessage(*View(), WM_USER + 5, 0, WM_LBUTTONUP), 0);
    EXPECT_TRUE(::IsWindowVisible(*Frame()));
    // A second click while shown leaves it shown.
    ::SendMessage(*View(), WM_USER + 5, 0, WM_LBUTTONUP);
    EXPECT_TRUE(::IsWindowVisible(*Frame()));
}

TEST_F(AppTest, ATrayClickRestoresAMinimisedWindow)
{
    ASSERT_TRUE(StartApp());
    ::ShowWindow(*Frame(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(*Frame()));
    ::SendMessage(*View(), WM_USER + 5, 0, WM_LBUTTONUP);
    EXPECT_FALSE(::IsIconic(*Frame()));
    EXPECT_TRUE(::IsWindowVisible(*Frame()));
}

TEST_F(AppTest, HidingToTheTrayKeepsTheIconAndTheTimers)
{
    ASSERT_TRUE(StartApp());
    CallLog::Clear();
    Command(ID_FILE_HIDE_TO_TRAY);
    EXPECT_FALSE(::IsWindowVisible(*Frame()));
    EXPECT_TRUE(CallLog::Calls(LoggedCall::Shell).empty());
    EXPECT_TRUE(CallLog::Calls(LoggedCall::KillTimer).empty());
}

TEST_F(AppTest, ARestartedShellGetsTheTrayIconBack)
{
    StandInSetPhysicalMemory(100, 29);
    ASSERT_TRUE(StartApp());
    StatusTick();
    CallLog::Clear();
    // The shell broadcasts to top-level windows only: the frame hears it.
    ::SendMessage(*Frame(), TaskbarCreatedMessage(), 0, 0);
    const auto shell = CallLog::Calls(LoggedCall::Shell);
    ASSERT_GE(shell.size(), 1u);
    EXPECT_EQ(shell[0].shellMessage, DWORD(NIM_ADD));
    EXPECT_EQ(shell[0].record.hWnd, View()->m_hWnd);
    EXPECT_STREQ(shell[0].record.szTip, "Available : 28 %");
    // This shell did not really restart: it refuses the add of an icon it
    // has, and a modify finds the icon there.
    for (size_t i = 1; i < shell.size(); ++i)
        EXPECT_EQ(shell[i].Describe(), "NIM_MODIFY");
}

TEST_F(AppTest, ExitRemovesTheTrayIconBeforeSavingAndEndsTheMessageLoop)
{
    PutSetting("setting03", 0);
    ASSERT_TRUE(StartApp());
    CallLog::Clear();
    HWND frame = *Frame();
    Command(ID_FILE_EXIT);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
    MSG msg;
    EXPECT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));

    EXPECT_TRUE(SameSequence(Describe(CallLog::All()), {"NIM_DELETE", "page41-01 = 1", "page41-02 = 0", "page41-03 = 0", "page41-04 = 100", "page41-05 = 0"}));
}

TEST_F(AppTest, TheCloseBoxTakesTheSameWayOut)
{
    PutSetting("setting03", 0);
    ASSERT_TRUE(StartApp());
    CallLog::Clear();
    HWND frame = *Frame();
    ::SendMessage(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(CallLog::Calls(LoggedCall::Shell).size(), 1u);
    EXPECT_EQ(Setting("page41-01"), DWORD(1));
}

// An elevated copy's mutex refuses an ordinary start full access (or any
// access): that start still finds the copy running and brings it forward.
TEST_F(AppTest, AMutexThisStartMayNotOpenStillMeansACopyRuns)
{
    ASSERT_TRUE(StartApp());
    const std::string name = "Local\\KolvarTestElevated." + std::to_string(::GetCurrentProcessId());
    for (const char* dacl : {"D:", "D:(A;;0x100000;;;WD)"}) { // nothing; SYNCHRONIZE only
        SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(dacl, SDDL_REVISION_1,
                                                                           &attributes.lpSecurityDescriptor, nullptr));
        // Held by another thread, as the other copy holds it.
        HANDLE taken = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
        HANDLE release = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
        std::thread holder([&] {
            HANDLE held = ::CreateMutexA(&attributes, TRUE, name.c_str());
            ::SetEvent(taken);
            ::WaitForSingleObject(release, 10000);
            ::CloseHandle(held);
        });
        ::WaitForSingleObject(taken, 10000);
        Command(ID_FILE_HIDE_TO_TRAY);
        CRunningCopyGuard second(name);
        EXPECT_EQ(second.Claim(), CRunningCopyGuard::Outcome::BroughtForward) << dacl;
        EXPECT_TRUE(::IsWindowVisible(*Frame())) << dacl;
        ::SetEvent(release);
        holder.join();
        ::CloseHandle(taken);
        ::CloseHandle(release);
        ::LocalFree(attributes.lpSecurityDescriptor);
    }
}

TEST_F(AppTest, ASecondInitialUpdateMakesNoSecondSetOfPages)
{
    ASSERT_TRUE(StartApp());
    HWND firstPage = Page(CQuendrixView::MemoryStatusPage);
    ASSERT_NE(firstPage, nullptr);
    CallLog::Clear();
    View()->OnInitialUpdate();
    EXPECT_EQ(Page(CQuendrixView::MemoryStatusPage), firstPage);
    EXPECT_TRUE(CallLog::Calls(LoggedCall::Shell).empty());
    EXPECT_TRUE(CallLog::Calls(LoggedCall::SetTimer).empty());
    int pages = 0;
    for (HWND child = ::GetWindow(*View(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        pages += ClassName(child) == "#32770";
    }
    EXPECT_EQ(pages, 4);
}

TEST_F(AppTest, TheFrameworkAboutBoxClosesOnOkAndOnEscape)
{
    ASSERT_TRUE(StartApp());
    std::string caption;
    // The template's own box: the main menu offers no command that opens it.
    const auto openAbout = [] {
        CDialog dialog(IDD_ABOUTBOX);
        dialog.DoModal();
    };
    auto run = RunModal(openAbout,
                        [&](HWND dialog) {
                            caption = WindowText(dialog);
                            Click(dialog, IDOK);
                        });
    EXPECT_TRUE(run.dialogSeen);
    EXPECT_FALSE(run.forcedClosed);
    EXPECT_EQ(caption, "About Quendrix");

    run = RunModal(openAbout, [](HWND dialog) { PressEscape(dialog); });
    EXPECT_TRUE(run.dialogSeen);
    EXPECT_FALSE(run.forcedClosed);
}

// This program links the shipped program's own throw helpers.
TEST(LeanRuntime, ALibraryErrorIsThrownWithItsMessageButNotItsClass)
{
    std::vector<int> none;
    try {
        (void)none.at(1);
        FAIL() << "nothing thrown";
    } catch (const std::out_of_range&) {
        FAIL() << "the C++ library's own throw helper ran";
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find("_M_range_check"), std::string::npos) << error.what();
    }
}

} // namespace
