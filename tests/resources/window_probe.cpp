#include "window_probe.h"

#include <commctrl.h>

#include <algorithm>

namespace probe {
namespace {

INT_PTR CALLBACK quietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

bool isChildTemplate(HINSTANCE module, int templateId)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));
    if (!found)
        return false;
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
    // DIALOGEX starts with 1, 0xFFFF, help id, extended style, style.
    DWORD styleBits = words[1] == 0xFFFF ? *reinterpret_cast<const DWORD*>(words + 6)
                                         : *reinterpret_cast<const DWORD*>(words);
    return (styleBits & WS_CHILD) != 0;
}

}  // namespace

void initCommonControls()
{
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                      ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

TemplateDialog::TemplateDialog(int templateId)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (isChildTemplate(module, templateId))
        parent_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                  module, nullptr);
    dialog_ = CreateDialogParamA(module, MAKEINTRESOURCEA(templateId), parent_, quietDialogProc, 0);
}

TemplateDialog::~TemplateDialog()
{
    if (dialog_)
        DestroyWindow(dialog_);
    if (parent_)
        DestroyWindow(parent_);
}

std::vector<HWND> TemplateDialog::children() const
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        found.push_back(child);
    return found;
}

RECT TemplateDialog::dialogUnitsToPixels(int x, int y, int width, int height) const
{
    // The dialog manager scales origin and size each on its own.
    RECT scaled{x, y, width, height};
    MapDialogRect(dialog_, &scaled);
    return {scaled.left, scaled.top, scaled.left + scaled.right, scaled.top + scaled.bottom};
}

RECT TemplateDialog::childRect(HWND child) const
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string className(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

LONG style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
LONG extendedStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

namespace {

// A top-down 32-bit DIB section filled with white, selected into a memory DC.
class WhiteCanvas {
public:
    WhiteCanvas(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        std::fill(bits_, bits_ + width * height, 0xFFFFFFFFu);
    }
    ~WhiteCanvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    Pixels pixels() const
    {
        GdiFlush();
        Pixels copy(bits_, bits_ + width_ * height_);
        for (auto& pixel : copy)
            pixel |= 0xFF000000u;
        return copy;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    std::uint32_t* bits_ = nullptr;
};

}  // namespace

Pixels drawIcon(HICON icon, int size)
{
    WhiteCanvas canvas(size, size);
    DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return canvas.pixels();
}

Pixels bitmapPixels(HBITMAP bitmap, int* width, int* height)
{
    BITMAP shape{};
    GetObjectA(bitmap, sizeof shape, &shape);
    *width = shape.bmWidth;
    *height = shape.bmHeight;
    WhiteCanvas canvas(shape.bmWidth, shape.bmHeight);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(canvas.dc(), 0, 0, shape.bmWidth, shape.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    return canvas.pixels();
}

int storedIconWidth(int iconId, int size)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(iconId), MAKEINTRESOURCEA(14));
    if (!group)
        return 0;
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    int imageId = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(imageId), MAKEINTRESOURCEA(3));
    if (!image)
        return 0;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
    return header->biWidth;
}

}  // namespace probe
