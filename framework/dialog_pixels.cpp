#include "dialog_pixels.h"

#include "dpi.h"

CDialogPixels::~CDialogPixels()
{
    for (HBITMAP bitmap : m_stretched)
        ::DeleteObject(bitmap);
}

void CDialogPixels::FitToDpi(HWND dialog)
{
    const UINT dpi = WindowDpi(dialog);
    if (dpi == kDesignDpi)
        return;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG type = ::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
        if (type == SS_BITMAP) {
            StretchPicture(child, dpi);
        } else if (type == SS_BLACKRECT) {
            RECT line;
            ::GetWindowRect(child, &line);
            ::SetWindowPos(child, nullptr, 0, 0, line.right - line.left, ScaleForDpi(kLineThickness, dpi),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void CDialogPixels::StretchPicture(HWND picture, UINT dpi)
{
    auto shown = reinterpret_cast<HBITMAP>(::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP shape{};
    if (!shown || !::GetObjectA(shown, sizeof shape, &shape))
        return;
    auto stretched = static_cast<HBITMAP>(
        ::CopyImage(shown, IMAGE_BITMAP, ScaleForDpi(shape.bmWidth, dpi), ScaleForDpi(shape.bmHeight, dpi), 0));
    if (!stretched)
        return;
    m_stretched.push_back(stretched);
    // The static loaded the template's bitmap for itself alone.
    if (HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
            ::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(stretched))))
        ::DeleteObject(previous);
}
