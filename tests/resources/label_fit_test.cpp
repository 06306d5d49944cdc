// Every label of every dialog template fits its control at 100, 125, 150
// and 200 % display scaling: the text measured with the control's own font
// made for that DPI, the control sized in dialog units of that font, as the
// dialog manager does. A label that does not fit is cut off or wraps away.
#include "resource.h"
#include "window_probe.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

const int kTemplates[] = {IDD_ABOUTBOX, IDD_QUENDRIX_FORM, IDD_MEMORY_STATUS_PAGE, IDD_FREE_MEMORY_PAGE,
                          IDD_AUTOMATION_PAGE, IDD_REGULAR_FREE_PAGE, IDD_PREFERENCE, IDD_ABOUT_HALVENMARK,
                          IDD_WEB_SITE};

// Box and gap before a check box's or radio button's text, and a push
// button's edge and focus frame on each side, in pixels at 96 DPI.
constexpr int kCheckBoxLead = 16;
constexpr int kPushButtonMargin = 3;

struct TemplateItem {
    DWORD style;
    short width, height; // dialog units
};

struct TemplateLayout {
    int pointSize = 0;
    std::vector<TemplateItem> items;
};

const WORD* SkipNameOrOrdinal(const WORD* p)
{
    if (*p == 0xFFFF)
        return p + 2;
    while (*p++) {
    }
    return p;
}

const WORD* AlignToDword(const WORD* p)
{
    return reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR(3));
}

// An extended template (DIALOGEX), as the resource compiler writes it.
TemplateLayout ReadTemplate(int id)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    const auto* p = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
    TemplateLayout layout;
    if (!p || p[0] != 1 || p[1] != 0xFFFF)
        return layout;
    const DWORD style = *reinterpret_cast<const DWORD*>(p + 6);
    const WORD count = p[8];
    p = SkipNameOrOrdinal(p + 13); // menu
    p = SkipNameOrOrdinal(p);      // class
    p = SkipNameOrOrdinal(p);      // title
    if (style & DS_SETFONT) {
        layout.pointSize = p[0];
        p = SkipNameOrOrdinal(p + 3); // size, weight, italic and charset, face
    }
    for (WORD i = 0; i < count; ++i) {
        p = AlignToDword(p);
        TemplateItem item{};
        item.style = *reinterpret_cast<const DWORD*>(p + 4);
        item.width = static_cast<short>(p[8]);
        item.height = static_cast<short>(p[9]);
        p = SkipNameOrOrdinal(p + 12); // class
        p = SkipNameOrOrdinal(p);      // title
        p += 1 + *p / sizeof(WORD);    // creation data
        layout.items.push_back(item);
    }
    return layout;
}

// The control's font remade at another DPI, selected into a memory DC, with
// the dialog base units it gives.
class FontAtDpi {
public:
    FontAtDpi(HWND control, int pointSize, int dpi)
    {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        font.lfHeight = -MulDiv(pointSize, dpi, 72);
        font.lfWidth = 0;
        m_dc = CreateCompatibleDC(nullptr);
        m_font = CreateFontIndirectA(&font);
        m_old = SelectObject(m_dc, m_font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(m_dc, &metrics);
        const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        SIZE extent{};
        GetTextExtentPoint32A(m_dc, letters, 52, &extent);
        m_baseX = (extent.cx / 26 + 1) / 2;
        m_baseY = metrics.tmHeight;
    }
    ~FontAtDpi()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_font);
        DeleteDC(m_dc);
    }
    FontAtDpi(const FontAtDpi&) = delete;
    FontAtDpi& operator=(const FontAtDpi&) = delete;

    SIZE ControlSize(const TemplateItem& item) const
    {
        return {MulDiv(item.width, m_baseX, 4), MulDiv(item.height, m_baseY, 8)};
    }
    // The text laid out as the control draws it within width.
    SIZE TextSize(const std::string& text, int width, UINT format) const
    {
        RECT box{0, 0, width, 0};
        DrawTextA(m_dc, text.c_str(), -1, &box, format | DT_CALCRECT);
        return {box.right, box.bottom};
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
    int m_baseX = 0;
    int m_baseY = 0;
};

// What a control's text must fit in at dpi, and how it is laid out; false
// for controls whose text is not drawn.
bool TextArea(HWND control, const TemplateItem& item, SIZE size, int dpi, SIZE* area, UINT* format)
{
    const std::string className = ClassName(control);
    const DWORD style = item.style;
    const auto scale = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    if (className == "Static") {
        if ((style & SS_TYPEMASK) > SS_RIGHT)
            return false; // pictures, frames and rectangles
        *area = size;
        *format = DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        return true;
    }
    if (className != "Button" || (style & (BS_ICON | BS_BITMAP)))
        return false;
    const DWORD type = style & BS_TYPEMASK;
    *format = DT_SINGLELINE;
    if ((type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON)
        && !(style & BS_PUSHLIKE)) {
        *area = {size.cx - scale(kCheckBoxLead), size.cy};
        return true;
    }
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || (style & BS_PUSHLIKE)) {
        *area = {size.cx - 2 * scale(kPushButtonMargin), size.cy};
        return true;
    }
    return false;
}

TEST(LabelFit, EveryLabelFitsItsControlAt100To200Percent)
{
    HDC screen = GetDC(nullptr);
    const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    for (int id : kTemplates) {
        const TemplateLayout layout = ReadTemplate(id);
        TemplateDialog dialog(id);
        const std::vector<HWND> controls = dialog.Children();
        ASSERT_EQ(layout.items.size(), controls.size()) << "template " << id;
        ASSERT_GT(layout.pointSize, 0) << "template " << id;
        for (int dpi : {96, 120, 144, 192}) {
            for (size_t i = 0; i < controls.size(); ++i) {
                const std::string text = WindowText(controls[i]);
                if (text.empty())
                    continue;
                const FontAtDpi font(controls[i], layout.pointSize, dpi);
                const SIZE size = font.ControlSize(layout.items[i]);
                SIZE area{};
                UINT format = 0;
                if (!TextArea(controls[i], layout.items[i], size, dpi, &area, &format))
                    continue;
                if (dpi == systemDpi) {
                    // The model of the dialog manager holds where it can be seen.
                    const RECT real = dialog.ChildRect(controls[i]);
                    ASSERT_EQ(real.right - real.left, size.cx) << "template " << id << " \"" << text << "\"";
                    ASSERT_EQ(real.bottom - real.top, size.cy) << "template " << id << " \"" << text << "\"";
                }
                const SIZE needed = font.TextSize(text, area.cx, format);
                EXPECT_TRUE(needed.cx <= area.cx && needed.cy <= area.cy)
                    << "template " << id << " at " << dpi << " DPI: \"" << text << "\" needs " << needed.cx << " x "
                    << needed.cy << " pixels, has " << area.cx << " x " << area.cy;
            }
        }
    }
}

} // namespace
