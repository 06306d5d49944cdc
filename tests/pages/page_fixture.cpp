#include "page_fixture.h"

#include <commctrl.h>

#include "engine_standin.h"
#include "host_window.h"

namespace {

class PagesEnvironment : public ::testing::Environment {
    void SetUp() override { CallLog::Observe({LoggedCall::SetTimer, LoggedCall::KillTimer}); }
};
const auto* environment = ::testing::AddGlobalTestEnvironment(new PagesEnvironment);

} // namespace

void PageTest::SetUp()
{
    StandInReset();
    CallLog::Clear();
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
