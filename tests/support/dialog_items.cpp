#include "dialog_items.h"

#include <commctrl.h>

std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string ClassName(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string ControlText(HWND dialog, int id)
{
    char text[256] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool IsChecked(HWND dialog, int id)
{
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Click(HWND dialog, int id)
{
    ::SendDlgItemMessage(dialog, id, BM_CLICK, 0, 0);
}

HICON ButtonIcon(HWND dialog, int id)
{
    return reinterpret_cast<HICON>(::SendDlgItemMessage(dialog, id, BM_GETIMAGE, IMAGE_ICON, 0));
}

int ListRowCount(HWND list)
{
    return static_cast<int>(::SendMessage(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListCellText(HWND list, int row, int column)
{
    // The control returns how much it copied: grow until the text fits.
    std::string text(64, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const int copied = static_cast<int>(::SendMessage(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                                          reinterpret_cast<LPARAM>(&item)));
        if (copied < static_cast<int>(text.size()) - 1) {
            text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
            return text;
        }
        text.assign(text.size() * 2, '\0');
    }
}
