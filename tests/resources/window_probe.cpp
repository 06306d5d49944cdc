#include "window_probe.h"

#include <commctrl.h>

#include "host_window.h"

#include <algorithm>
#include <cstring>

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

bool IsChildTemplate(HINSTANCE module, int templateId)
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

} // namespace

TemplateDialog::TemplateDialog(int templateId)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    StartCommonControls();
    if (IsChildTemplate(module, templateId))
        m_parent = CreateHostWindow();
    m_dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(templateId), m_parent, QuietDialogProc, 0);
}

TemplateDialog::~TemplateDialog()
{
    if (m_dialog)
        DestroyWindow(m_dialog);
    if (m_parent)
        DestroyWindow(m_parent);
}

std::vector<HWND> TemplateDialog::Children() const
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(m_dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        found.push_back(child);
    return found;
}

RECT TemplateDialog::DialogUnitsToPixels(int x, int y, int width, int height) const
{
    // The dialog manager scales origin and size each on its own.
    RECT scaled{x, y, width, height};
    MapDialogRect(m_dialog, &scaled);
    return {scaled.left, scaled.top, scaled.left + scaled.right, scaled.top + scaled.bottom};
}

RECT TemplateDialog::ChildRect(HWND child) const
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, m_dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
LONG ExtendedStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

namespace {

// A top-down 32-bit DIB section filled with white, selected into a memory DC.
class WhiteCanvas {
public:
    WhiteCanvas(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits),
                                    nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        std::fill(m_bits, m_bits + width * height, 0xFFFFFFFFu);
    }
    ~WhiteCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC DeviceContext() const { return m_dc; }
    Pixels Read() const
    {
        GdiFlush();
        Pixels copy(m_bits, m_bits + m_width * m_height);
        for (auto& pixel : copy)
            pixel |= 0xFF000000u;
        return copy;
    }

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    std::uint32_t* m_bits = nullptr;
};

} // namespace

Pixels DrawIconPixels(HICON icon, int size)
{
    WhiteCanvas canvas(size, size);
    DrawIconEx(canvas.DeviceContext(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return canvas.Read();
}

Pixels BitmapPixels(HBITMAP bitmap, int* width, int* height)
{
    BITMAP shape{};
    GetObjectA(bitmap, sizeof shape, &shape);
    *width = shape.bmWidth;
    *height = shape.bmHeight;
    WhiteCanvas canvas(shape.bmWidth, shape.bmHeight);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(canvas.DeviceContext(), 0, 0, shape.bmWidth, shape.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    return canvas.Read();
}

int StoredIconWidth(int iconId, int size)
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
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, image)));
    // A PNG image gives its width big-endian in its header chunk.
    if (std::memcmp(data, "\x89PNG", 4) == 0)
        return data[16] << 24 | data[17] << 16 | data[18] << 8 | data[19];
    return reinterpret_cast<const BITMAPINFOHEADER*>(data)->biWidth;
}
