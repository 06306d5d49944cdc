#include "host_window.h"

#include <commctrl.h>

void StartCommonControls()
{
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES
        | ICC_UPDOWN_CLASS;
    ::InitCommonControlsEx(&classes);
}

HWND CreateHostWindow()
{
    StartCommonControls();
    return ::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                             ::GetModuleHandle(nullptr), nullptr);
}
