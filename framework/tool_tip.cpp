#include "tool_tip.h"

#include "window_text.h"

BOOL CToolTipCtrl::Create(CWnd* pParent, DWORD dwStyle)
{
    if (m_hWnd || !pParent)
        return FALSE;
    m_hWnd = ::CreateWindowEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParent->m_hWnd, nullptr,
                              ::GetModuleHandle(nullptr), nullptr);
    m_ownsWindow = m_hWnd != nullptr;
    return m_hWnd != nullptr;
}

BOOL CToolTipCtrl::AddTool(HWND hTool, const std::string& text)
{
    if (!m_hWnd || !hTool)
        return FALSE;
    TOOLINFO tool{};
    // The version 2 size: accepted by every common-controls version, with
    // or without the program's manifest.
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(hTool);
    tool.uId = reinterpret_cast<UINT_PTR>(hTool);
    // The control copies the text.
    tool.lpszText = const_cast<LPSTR>(text.c_str());
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tool)));
}

BOOL CToolTipCtrl::AddTool(HWND hTool)
{
    return AddTool(hTool, ReadWindowText(hTool));
}
