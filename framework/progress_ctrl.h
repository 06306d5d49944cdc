// CProgressCtrl: a progress bar with a 32-bit range.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "wnd.h"

class CProgressCtrl : public CWnd {
public:
    void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    // Returns the previous position.
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
};
