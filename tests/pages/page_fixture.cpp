#include "page_fixture.h"

#include <commctrl.h>

#include "engine_standin.h"
#include "host_window.h"
#include "import_redirect.h"

namespace {

std::vector<TimerCall> timerCalls;
decltype(&::SetTimer) realSetTimer = nullptr;
decltype(&::KillTimer) realKillTimer = nullptr;

UINT_PTR WINAPI RecordSetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure)
{
    UINT_PTR result = realSetTimer(window, id, periodMs, procedure);
    timerCalls.push_back({false, window, id, periodMs, result});
    return result;
}

BOOL WINAPI RecordKillTimer(HWND window, UINT_PTR id)
{
    BOOL result = realKillTimer(window, id);
    timerCalls.push_back({true, window, id, 0, static_cast<UINT_PTR>(result)});
    return result;
}

class PagesEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        AfxInitCommonControls();
        TimerLog::Install();
    }
};
const auto* environment = ::testing::AddGlobalTestEnvironment(new PagesEnvironment);

} // namespace

void TimerLog::Install()
{
    if (realSetTimer)
        return;
    // A function the program never calls is not imported: its calls then
    // simply never show in the log, and the tests expecting them fail.
    realSetTimer = RedirectImport("user32.dll", "SetTimer", &RecordSetTimer);
    realKillTimer = RedirectImport("user32.dll", "KillTimer", &RecordKillTimer);
}

void TimerLog::Clear()
{
    timerCalls.clear();
}

std::vector<TimerCall> TimerLog::CallsFor(HWND window)
{
    std::vector<TimerCall> calls;
    for (const TimerCall& call : timerCalls)
        if (call.window == window)
            calls.push_back(call);
    return calls;
}

void PageTest::SetUp()
{
    StandInReset();
    TimerLog::Clear();
    host.Attach(CreateHostWindow());
    ASSERT_NE(host.m_hWnd, nullptr);
}

void PageTest::TearDown()
{
    ::DestroyWindow(host.Detach());
}

bool HasVisibleStyle(HWND window)
{
    return (::GetWindowLongPtr(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

HICON ButtonIcon(HWND page, int id)
{
    return reinterpret_cast<HICON>(::SendDlgItemMessage(page, id, BM_GETIMAGE, IMAGE_ICON, 0));
}

HICON ProgramIcon(int id)
{
    return ::LoadIcon(::GetModuleHandle(nullptr), MAKEINTRESOURCE(id));
}

void Tick(HWND page, UINT_PTR timerId)
{
    ::SendMessage(page, WM_TIMER, timerId, 0);
}

void DragSlider(HWND page, int id, int position)
{
    HWND slider = ::GetDlgItem(page, id);
    ::SendMessage(slider, TBM_SETPOS, TRUE, position);
    ::SendMessage(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
}
