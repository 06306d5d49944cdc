// Stands in for a program that uses an installed file: holds the file open
// with no sharing, so the installer tests can see what setup does with a
// file it cannot replace. Given a window class, it also shows a window of
// that class which ignores close requests, as a hung program would.
// Creates READY_FILE once all is in place; ends after three minutes.
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK IgnoreCloseProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        return 0;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

bool ShowStubbornWindow(const char* className)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = IgnoreCloseProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    if (!::RegisterClassA(&windowClass))
        return false;
    return ::CreateWindowA(className, "hold_file", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                           nullptr, windowClass.hInstance, nullptr)
        != nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: hold_file FILE READY_FILE [WINDOW_CLASS]\n");
        return 2;
    }
    HANDLE held = ::CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hold_file: cannot open %s (error %lu)\n", argv[1], ::GetLastError());
        return 1;
    }
    if (argc == 4 && !ShowStubbornWindow(argv[3])) {
        std::fprintf(stderr, "hold_file: no window (error %lu)\n", ::GetLastError());
        return 1;
    }
    HANDLE ready = ::CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ready == INVALID_HANDLE_VALUE)
        return 1;
    ::CloseHandle(ready);

    // Handles messages, so that only the ignored close request keeps it.
    const DWORD end = ::GetTickCount() + 180000;
    for (DWORD now = ::GetTickCount(); static_cast<LONG>(end - now) > 0; now = ::GetTickCount()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
    }
    ::CloseHandle(held);
    return 0;
}
