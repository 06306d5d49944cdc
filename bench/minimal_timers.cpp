// The floor Kolvar's running cost is measured against: a small window with
// the same three timers (100, 100 and 500 ms) that do nothing. Started with
// the argument "hidden", the window is never shown: the floor for a program
// that waits in the tray.
#include <windows.h>

namespace {

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
    const bool hidden = lstrcmpiA(commandLine, "hidden") == 0;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "MinimalTimers";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("MinimalTimers", "Minimal Timers", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
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
