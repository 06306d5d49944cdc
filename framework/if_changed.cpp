#include "if_changed.h"

#include "window_text.h"

void SetWindowTextIfChanged(HWND window, const std::string& text)
{
    if (ReadWindowText(window) != text)
        ::SetWindowTextA(window, text.c_str());
}

void SetCheckIfChanged(HWND button, int nCheck)
{
    if (::SendMessage(button, BM_GETCHECK, 0, 0) != nCheck)
        ::SendMessage(button, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
}

void SetIconIfChanged(CButton& button, HICON hIcon)
{
    if (button.GetIcon() != hIcon)
        button.SetIcon(hIcon);
}

void SetPosIfChanged(CProgressCtrl& bar, int nPos)
{
    if (bar.GetPos() != nPos)
        bar.SetPos(nPos);
}

void ShowIfChanged(HWND window, bool show)
{
    const bool shown = (::GetWindowLongPtr(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != show)
        ::ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

void EnableIfChanged(HWND window, bool enable)
{
    if ((::IsWindowEnabled(window) != FALSE) != enable)
        ::EnableWindow(window, enable);
}
