// CListCtrl: a list view in report mode.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

#include "wnd.h"

// A list view in report mode.
class CListCtrl : public CWnd {
public:
    // nWidth -1 inserts the column without a width.
    int InsertColumn(int nCol, const std::string& heading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    BOOL SetColumnWidth(int nCol, int cx)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
    }
    BOOL SetTextColor(COLORREF color) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color))); }
    // Sets exactly these extended styles; returns the previous ones.
    DWORD SetExtendedStyle(DWORD dwNewStyle)
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
    }
    // The width text takes in the list's font, without a cell's margins.
    int GetStringWidth(const std::string& text) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    // Returns the index the item got (an index past the end appends).
    int InsertItem(int nItem, const std::string& text);
    BOOL SetItemText(int nItem, int nSubItem, const std::string& text);
};
