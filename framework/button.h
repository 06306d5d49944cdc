#pragma once
#include "wnd.h"

// A push button, check box or radio button. Setters change the control only
// when it shows something else now.
class CButton : public CWnd {
public:
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON, 0)); }
    HICON SetIcon(HICON hIcon)
    {
        if (GetIcon() == hIcon)
            return hIcon;
        return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP, 0)); }
    HBITMAP SetBitmap(HBITMAP hBitmap)
    {
        if (GetBitmap() == hBitmap)
            return hBitmap;
        return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck)
    {
        if (GetCheck() != nCheck)
            SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
    }
};
