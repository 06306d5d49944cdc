#pragma once
#include <windows.h>

#include <vector>

// The bitmap pictures of a dialog's template (SS_BITMAP statics) are drawn
// for 96 DPI and shown at their own pixel size; at another DPI they are
// replaced by copies stretched to the DPI, which this object owns.
class CDialogBitmaps {
public:
    CDialogBitmaps() = default;
    CDialogBitmaps(const CDialogBitmaps&) = delete;
    CDialogBitmaps& operator=(const CDialogBitmaps&) = delete;
    ~CDialogBitmaps();

    void FitToDpi(HWND dialog);

private:
    std::vector<HBITMAP> m_stretched;
};
