// What the program draws in pixels follows the display's DPI: the status
// list's columns, every icon, the bullet bitmaps and the separator lines are
// their 96-DPI sizes scaled. These cases run at 96 DPI with the others and
// again at 144 and 192 DPI, each in a Wine prefix whose LogPixels says so.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <vector>

#include "app_fixture.h"
#include "resource.h"

namespace {

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

int Scaled(int pixels) { return ::MulDiv(pixels, ScreenDpi(), 96); }

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP shape{};
    ::GetObjectA(bitmap, sizeof shape, &shape);
    return {shape.bmWidth, shape.bmHeight};
}

int IconWidth(HICON icon)
{
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return 0;
    const int width = BitmapSize(info.hbmColor ? info.hbmColor : info.hbmMask).cx;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return width;
}

// The static pictures and rectangles of a dialog, by their kind of static.
std::vector<HWND> StaticsOf(HWND dialog, LONG type)
{
    std::vector<HWND> found;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == "Static" && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == type)
            found.push_back(child);
    }
    return found;
}

class DpiScaling : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(StartApp());
        // The run asked for a DPI: a prefix that did not give it proves nothing.
        if (const char* wanted = std::getenv("KOLVAR_WINE_DPI")) {
            ASSERT_EQ(ScreenDpi(), std::atoi(wanted));
        }
    }
    std::vector<HWND> Dialogs() const
    {
        return {View()->m_hWnd, Page(0), Page(1), Page(2), Page(3)};
    }
};

// Scaled where the list has room for that; else the two share the list's
// width. Either way every label and value can be read without scrolling.
TEST_F(DpiScaling, StatusColumnsScaleAndEveryRowFits)
{
    HWND list = ::GetDlgItem(Page(CQuendrixView::MemoryStatusPage), IDC_STATUS_LIST);
    const int labelWidth = ListView_GetColumnWidth(list, 0);
    const int valueWidth = ListView_GetColumnWidth(list, 1);
    RECT client{};
    ::GetClientRect(list, &client);
    if (Scaled(250) + Scaled(150) <= client.right) {
        EXPECT_EQ(labelWidth, Scaled(250));
        EXPECT_EQ(valueWidth, Scaled(150));
    } else {
        EXPECT_EQ(labelWidth + valueWidth, client.right);
    }
    // Text is drawn with a few pixels' margin each side of a cell.
    const int margin = Scaled(12);
    char text[64];
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        for (int column : {0, 1}) {
            ListView_GetItemText(list, row, column, text, sizeof text);
            EXPECT_LE(ListView_GetStringWidth(list, text) + margin, column ? valueWidth : labelWidth)
                << "\"" << text << "\" is cut";
        }
    }
}

TEST_F(DpiScaling, IconsAreLoadedAtTheSizeTheDpiAsksFor)
{
    HWND view = View()->m_hWnd;
    for (int id : {IDC_PAGE_BUTTON_STATUS, IDC_PAGE_BUTTON_FREE, IDC_PAGE_BUTTON_AUTOMATION, IDC_PAGE_BUTTON_REGULAR})
        EXPECT_EQ(IconWidth(ButtonIcon(view, id)), Scaled(32)) << "page button " << id;
    EXPECT_EQ(IconWidth(ButtonIcon(Page(CQuendrixView::MemoryStatusPage), IDC_REFRESH_BUTTON)), Scaled(32));
    EXPECT_EQ(IconWidth(ButtonIcon(Page(CQuendrixView::FreeMemoryPage), IDC_FREE_BUTTON)), Scaled(32));
    for (HWND page : {Page(0), Page(1), Page(2), Page(3)}) {
        for (HWND picture : StaticsOf(page, SS_ICON))
            EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(::SendMessageA(picture, STM_GETICON, 0, 0))), Scaled(32));
    }
    HWND frame = *Frame();
    EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(::SendMessageA(frame, WM_GETICON, ICON_SMALL, 0))), Scaled(16));
    EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(::SendMessageA(frame, WM_GETICON, ICON_BIG, 0))), Scaled(32));
    const auto shell = CallLog::Calls(LoggedCall::Shell);
    ASSERT_FALSE(shell.empty());
    EXPECT_EQ(IconWidth(shell[0].record.hIcon), Scaled(16)) << "tray icon";
}

TEST_F(DpiScaling, BulletsAndSeparatorLinesGrowWithTheDpi)
{
    int bullets = 0;
    for (HWND dialog : Dialogs()) {
        for (HWND bullet : StaticsOf(dialog, SS_BITMAP)) {
            const SIZE size = BitmapSize(reinterpret_cast<HBITMAP>(::SendMessageA(bullet, STM_GETIMAGE, IMAGE_BITMAP, 0)));
            EXPECT_EQ(size.cx, Scaled(8));
            EXPECT_EQ(size.cy, Scaled(8));
            ++bullets;
        }
        for (HWND line : StaticsOf(dialog, SS_BLACKRECT)) {
            RECT rect;
            ::GetWindowRect(line, &rect);
            EXPECT_EQ(rect.bottom - rect.top, Scaled(2)) << "separator line";
        }
    }
    EXPECT_EQ(bullets, 12);
}

} // namespace
