// Holds Wine's desktop open while the running cost is measured. Wine ends its
// desktop process soon after the last program with a shown window exits, and
// starts it again with the next one: without this window, whichever program
// happens to launch after that moment pays the desktop's start-up in its
// launch time. A desktop is always there on Windows. It does nothing else:
// no timers, no drawing after the first.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "IdleWindow";
    RegisterClassA(&windowClass);
    // Away from where the measured programs open, so it never covers them.
    HWND window = CreateWindowA("IdleWindow", "Idle Window", WS_POPUP, 1200, 980, 40, 30, nullptr, nullptr,
                                instance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
