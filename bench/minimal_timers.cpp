// The floor Kolvar's running cost is measured against: a small window with
// the same three timers (100, 100 and 500 ms) that do nothing. Started with
// the argument "hidden", the window is never shown: the floor for a program
// that waits in the tray. Built as minimal_controls, it also loads the
// common controls version 6 the way Kolvar does (manifest and
// InitCommonControlsEx) and creates none: the part of the floor that any
// program with Kolvar's controls and look pays under the same system.
#include <windows.h>
#ifdef MINIMAL_CONTROLS
#  include <commctrl.h>
#endif

namespace {

#ifdef MINIMAL_CONTROLS
const char kTitle[] = "Minimal Controls";
#else
const char kTitle[] = "Minimal Timers";
#endif

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetTimer(window, 1, 100, nullptr);
        SetTimer(window, 2, 100, nullptr);
        SetTimer(window, 3, 500, nullptr);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
#ifdef MINIMAL_CONTROLS
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&classes);
#endif
    const bool hidden = lstrcmpiA(commandLine, "hidden") == 0;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "MinimalTimers";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("MinimalTimers", kTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, 420, 340, nullptr, nullptr, instance, nullptr);
    if (!hidden) {
        ShowWindow(window, show);
        UpdateWindow(window);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
