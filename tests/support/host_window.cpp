#include "host_window.h"

HWND CreateHostWindow()
{
    return ::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                             ::GetModuleHandle(nullptr), nullptr);
}
