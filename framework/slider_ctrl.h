// CSliderCtrl: a trackbar with 32-bit ranges.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "wnd.h"

// A trackbar. Ranges go through the 32-bit TBM_SETRANGEMIN/MAX messages:
// amounts in MB exceed 32767 on large machines.
class CSliderCtrl : public CWnd {
public:
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMIN, bRedraw, nMin); }
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMAX, bRedraw, nMax); }
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        SetRangeMin(nMin, FALSE);
        SetRangeMax(nMax, bRedraw);
    }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    // Moves the thumb, with redraw. Sends no WM_HSCROLL to the parent.
    void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
    void SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(nFreq)); }
    void SetPageSize(int nSize) { SendMessage(TBM_SETPAGESIZE, 0, nSize); }
};
