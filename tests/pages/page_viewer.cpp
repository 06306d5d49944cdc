// Shows one page in a plain window, with plausible figures, for looking at:
//   kolvar_page_viewer <0..3> [running]
// "running" shows the Free Memory page during a run.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "automation_page.h"
#include "engine_standin.h"
#include "free_memory_page.h"
#include "memory_status_page.h"
#include "regular_free_page.h"
#include "resource.h"

namespace {

class ViewerApp : public CWinApp {
public:
    BOOL InitInstance() override { return TRUE; }
};

LRESULT CALLBACK FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProc(hWnd, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    ViewerApp app;
    app.m_hInstance = instance;
    AfxInitCommonControls();
    app.SetDialogBkColor(RGB(255, 255, 255));
    StandInFigures figures = DefaultStandInFigures();
    StandInSetFigures(figures);

    int which = std::atoi(commandLine);
    const bool running = std::strstr(commandLine, "running") != nullptr;
    if (running)
        StandInSetProgress(45);

    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = instance;
    frameClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = "KolvarPageViewer";
    ::RegisterClassA(&frameClass);
    CWnd frame;
    frame.Attach(::CreateWindowExA(0, "KolvarPageViewer", "Kolvar page", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                   20, 20, 460, 340, nullptr, nullptr, instance, nullptr));

    std::unique_ptr<CDialog> page;
    switch (which) {
    case 0: page = std::make_unique<CMemoryStatusPage>(&frame); break;
    case 1: page = std::make_unique<CFreeMemoryPage>(&frame); break;
    case 2: page = std::make_unique<CAutomationPage>(&frame); break;
    default: page = std::make_unique<CRegularFreePage>(&frame); break;
    }
    if (which == 1) {
        // As a drag of the slider would.
        HWND slider = ::GetDlgItem(*page, IDC_FREE_AMOUNT_SLIDER);
        const int amount = running ? 0 : 300;
        ::SendMessage(slider, TBM_SETPOS, TRUE, amount);
        page->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, amount), reinterpret_cast<LPARAM>(slider));
    }
    // The frame fits the page as the template sizes it.
    RECT area{};
    page->GetWindowRect(&area);
    ::OffsetRect(&area, -area.left, -area.top);
    RECT outer = area;
    ::AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    frame.MoveWindow(20, 20, outer.right - outer.left, outer.bottom - outer.top);
    page->MoveWindow(area.left, area.top, area.right - area.left, area.bottom - area.top);
    page->ShowWindow(SW_SHOWNORMAL);
    frame.ShowWindow(SW_SHOWNORMAL);
    int result = app.Run();
    page.reset();
    frame.Detach();
    return result;
}
