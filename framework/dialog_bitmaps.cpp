#include "dialog_bitmaps.h"

#include "dpi.h"

CDialogBitmaps::~CDialogBitmaps()
{
    for (HBITMAP bitmap : m_stretched)
        ::DeleteObject(bitmap);
}

void CDialogBitmaps::FitToDpi(HWND dialog)
{
    const UINT dpi = WindowDpi(dialog);
    if (dpi == DesignDpi)
        return;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            continue;
        auto shown = reinterpret_cast<HBITMAP>(::SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP shape{};
        if (!shown || !::GetObjectA(shown, sizeof shape, &shape))
            continue;
        auto stretched = static_cast<HBITMAP>(::CopyImage(shown, IMAGE_BITMAP, ScaleForDpi(shape.bmWidth, dpi),
                                                          ScaleForDpi(shape.bmHeight, dpi), 0));
        if (!stretched)
            continue;
        m_stretched.push_back(stretched);
        // The static loaded the template's bitmap for itself alone.
        if (HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
                ::SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(stretched))))
            ::DeleteObject(previous);
    }
}
