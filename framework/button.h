// CButton: the icon push button of the page bar.
#pragma once
#include "wnd.h"

// A push button that shows an icon.
class CButton : public CWnd {
public:
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON, 0)); }
    // Returns the image the button showed before.
    HICON SetIcon(HICON hIcon)
    {
        return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
    }
};
