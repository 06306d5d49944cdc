// CDialogPixels: the parts of a dialog template drawn in pixels, scaled to
// the window's DPI.
#pragma once
#include <windows.h>

#include <vector>

// What a dialog's template draws in pixels rather than in dialog units: its
// bitmap pictures (SS_BITMAP statics), drawn for 96 DPI, and its separator
// lines (SS_BLACKRECT statics), 2 pixels thick at 96 DPI. At another DPI the
// pictures are replaced by copies stretched to it, which this object owns,
// and the lines take the thickness scaled. The dialog font does not grow in
// step with the DPI, so dialog units cannot carry either.
class CDialogPixels {
public:
    static constexpr int kLineThickness = 2;

    CDialogPixels() = default;
    CDialogPixels(const CDialogPixels&) = delete;
    CDialogPixels& operator=(const CDialogPixels&) = delete;
    ~CDialogPixels();

    void FitToDpi(HWND dialog);

private:
    void StretchPicture(HWND picture, UINT dpi);

    std::vector<HBITMAP> m_stretched;
};
