// Helpers that read back what a created dialog or a loaded image holds.
#ifndef KOLVAR_TESTS_WINDOW_PROBE_H
#define KOLVAR_TESTS_WINDOW_PROBE_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace probe {

void initCommonControls();

// A dialog made from one of the program's templates with a do-nothing
// procedure; child templates get a hidden top-level parent. Destroys both.
class TemplateDialog {
public:
    explicit TemplateDialog(int templateId);
    ~TemplateDialog();
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    HWND hwnd() const { return dialog_; }
    std::vector<HWND> children() const;  // in template order
    RECT dialogUnitsToPixels(int x, int y, int width, int height) const;
    RECT childRect(HWND child) const;    // in the dialog's client coordinates

private:
    HWND parent_ = nullptr;
    HWND dialog_ = nullptr;
};

std::string className(HWND window);
std::string windowText(HWND window);
LONG style(HWND window);
LONG extendedStyle(HWND window);

// Pixels as 0xAARRGGBB, drawn over opaque white, row by row from the top.
using Pixels = std::vector<std::uint32_t>;
Pixels drawIcon(HICON icon, int size);
Pixels bitmapPixels(HBITMAP bitmap, int* width, int* height);

// The width of the icon image a group icon resource holds for `size`, or 0.
int storedIconWidth(int iconId, int size);

}  // namespace probe

#endif
