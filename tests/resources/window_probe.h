// Helpers that read back what a created dialog or a loaded image holds.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dialog_items.h"
#include "host_window.h"

// A dialog made from one of the program's templates with a do-nothing
// procedure; child templates get a host window as parent. Destroys both.
class TemplateDialog {
public:
    explicit TemplateDialog(int templateId);
    ~TemplateDialog();
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    HWND Window() const { return m_dialog; }
    std::vector<HWND> Children() const; // in template order
    RECT DialogUnitsToPixels(int x, int y, int width, int height) const;
    RECT ChildRect(HWND child) const; // in the dialog's client coordinates

private:
    HWND m_parent = nullptr;
    HWND m_dialog = nullptr;
};

LONG Style(HWND window);
LONG ExtendedStyle(HWND window);

// Pixels as 0xAARRGGBB, drawn over opaque white, row by row from the top.
using Pixels = std::vector<std::uint32_t>;
Pixels DrawIconPixels(HICON icon, int size);
Pixels BitmapPixels(HBITMAP bitmap, int* width, int* height);

// The width of the icon image a group icon resource holds for `size`, or 0.
int StoredIconWidth(int iconId, int size);
