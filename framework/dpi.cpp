#include "dpi.h"

namespace {

UINT ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return kDesignDpi;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

} // namespace

UINT WindowDpi(HWND)
{
    // Aware for the system only: one DPI for every window, fixed for the
    // session, so it is read once (timers ask for it every tick).
    static const UINT dpi = ScreenDpi();
    return dpi;
}

int ScaleForDpi(int pixels, UINT dpi)
{
    return ::MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}
