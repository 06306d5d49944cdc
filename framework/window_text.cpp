#include "window_text.h"

std::string ReadWindowText(HWND hWnd)
{
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hWnd)) + 1, '\0');
    int copied = ::GetWindowTextA(hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}
