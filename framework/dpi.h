// DPI: lengths designed at 96 DPI, scaled to the DPI a window has.
#pragma once
#include <windows.h>

// Lengths drawn in pixels are designed at 96 DPI and brought to the DPI a
// window has here, in one place. The program declares itself DPI aware for
// the whole system (its manifest): every window has the DPI the session
// started with, and the system does not stretch what the program draws.
constexpr UINT kDesignDpi = 96;

// The DPI the window is drawn at; the screen's for a null window.
UINT WindowDpi(HWND window);

// pixels at 96 DPI, at dpi, rounded to the nearest pixel.
int ScaleForDpi(int pixels, UINT dpi);

// The edges of the system's small icon (caption, tray) and large icon
// (buttons, pictures) at dpi: what SM_CXSMICON and SM_CXICON return there.
inline int SmallIconSize(UINT dpi) { return ScaleForDpi(16, dpi); }
inline int LargeIconSize(UINT dpi) { return ScaleForDpi(32, dpi); }
