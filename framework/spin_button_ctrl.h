// CSpinButtonCtrl: an up-down control with 32-bit range and position.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "wnd.h"

// An up-down control; the program uses its 32-bit range and position.
class CSpinButtonCtrl : public CWnd {
public:
    void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper); }
    // pbError, when given, becomes TRUE if the buddy's text is no valid position.
    int GetPos32(BOOL* pbError = nullptr) const
    {
        return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(pbError)));
    }
    // Also rewrites the buddy's text, whatever it held.
    void SetPos32(int nPos) { SendMessage(UDM_SETPOS32, 0, nPos); }
    // UDM_GETPOS's return value: the position in the low word, and a
    // non-zero high word when the buddy's text is no valid position.
    DWORD GetPos() const { return static_cast<DWORD>(SendMessage(UDM_GETPOS)); }
};
