// Icons and bitmaps: every one loads, icons carry real 16 and 32 pixel
// images, and the pictures that state depends on are told apart by colour.
#include "dpi.h"
#include "resource.h"
#include "window_probe.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

namespace {

const int kIcons[] = {IDR_MAINFRAME, IDI_CHIP, IDI_REGULAR_FREE, IDI_SCREEN, IDI_REFRESH, IDI_BOLT,
                      IDI_STAR, IDI_BOLT_GREY, IDI_TRAY_CHIP, IDI_ALARM_CLOCK, IDI_CHIP_LOW};
const int kBitmaps[] = {IDB_ARROW_MARK, IDB_BULLET_BLUE, IDB_BULLET_HEADING, IDB_BULLET_TIME,
                        IDB_BULLET_SLIDER, IDB_BULLET_APPLY, IDB_STAR_MARK};

Pixels IconAt(int id, int size)
{
    auto icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                              IMAGE_ICON, size, size, 0));
    if (!icon)
        return {};
    Pixels pixels = DrawIconPixels(icon, size);
    DestroyIcon(icon);
    return pixels;
}

int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(std::uint32_t p) { return p & 0xFF; }

int Count(const Pixels& pixels, const std::function<bool(std::uint32_t)>& test)
{
    int n = 0;
    for (auto p : pixels)
        n += test(p) ? 1 : 0;
    return n;
}

bool IsWhite(std::uint32_t p) { return (p & 0xFFFFFF) == 0xFFFFFF; }
bool IsStrongRed(std::uint32_t p) { return Red(p) > 180 && Green(p) < 110 && Blue(p) < 110; }
bool IsYellow(std::uint32_t p) { return Red(p) > 200 && Green(p) > 150 && Blue(p) < Green(p) - 60; }
bool IsColourful(std::uint32_t p)
{
    return std::max({Red(p), Green(p), Blue(p)}) - std::min({Red(p), Green(p), Blue(p)}) > 40;
}

TEST(Icons, EveryIconHoldsItsOwn16And32PixelImages)
{
    for (int id : kIcons) {
        for (int size : {16, 32}) {
            EXPECT_EQ(size, StoredIconWidth(id, size)) << "icon " << id << " at " << size;
            const Pixels pixels = IconAt(id, size);
            ASSERT_EQ(static_cast<size_t>(size * size), pixels.size()) << "icon " << id;
            // Drawn over white: a picture, with some of the background showing.
            const int background = Count(pixels, IsWhite);
            EXPECT_GT(background, 0) << "icon " << id << " at " << size << " has no transparent area";
            EXPECT_LT(background, size * size / 2 + size * size / 4) << "icon " << id << " at " << size;
        }
    }
}

// Drawn for every scale Windows offers, not stretched from the nearest: the
// sizes the program's own DPI rule asks for there, small where an icon sits
// in the caption or tray, large where it stands on a button or page.
TEST(Icons, EveryIconCarriesItsOwnImageAtEveryScale)
{
    for (int id : kIcons) {
        const bool small = id == IDR_MAINFRAME || id == IDI_TRAY_CHIP || id == IDI_CHIP_LOW;
        const bool large = id != IDI_CHIP_LOW;
        for (int percent : {100, 125, 150, 175, 200, 225, 250, 300}) {
            const UINT dpi = kDesignDpi * percent / 100;
            if (small) {
                EXPECT_EQ(SmallIconSize(dpi), StoredIconWidth(id, SmallIconSize(dpi))) << id << " at " << percent;
            }
            if (large) {
                EXPECT_EQ(LargeIconSize(dpi), StoredIconWidth(id, LargeIconSize(dpi))) << id << " at " << percent;
            }
        }
    }
}

TEST(Icons, NoTwoPicturesAlikeExceptTheApplicationChip)
{
    for (int a : kIcons) {
        for (int b : kIcons) {
            if (a >= b)
                continue;
            const bool sameByDesign = (a == IDR_MAINFRAME && b == IDI_TRAY_CHIP);
            EXPECT_EQ(sameByDesign, IconAt(a, 32) == IconAt(b, 32)) << "icons " << a << " and " << b;
        }
    }
}

// The tray switches to the struck-through chip below 5 %, the Free button
// to the grey bolt during a run: the wrong picture would mislead the user.
TEST(Icons, StateIconsDifferByColour)
{
    for (int size : {16, 32}) {
        EXPECT_GT(Count(IconAt(IDI_CHIP_LOW, size), IsStrongRed), size * size / 10) << size;
        EXPECT_EQ(0, Count(IconAt(IDI_TRAY_CHIP, size), IsStrongRed)) << size;
        EXPECT_GT(Count(IconAt(IDI_BOLT, size), IsYellow), size * size / 8) << size;
        EXPECT_EQ(0, Count(IconAt(IDI_BOLT_GREY, size), IsColourful)) << size;
        EXPECT_GT(Count(IconAt(IDI_STAR, size), IsYellow), size * size / 8) << size;
    }
}

TEST(Bitmaps, EveryBitmapIsAnEightPixelPictureOnWhite)
{
    for (int id : kBitmaps) {
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
        ASSERT_NE(nullptr, bitmap) << "bitmap " << id;
        int width = 0, height = 0;
        const Pixels pixels = BitmapPixels(bitmap, &width, &height);
        DeleteObject(bitmap);
        EXPECT_EQ(8, width) << id;
        EXPECT_EQ(8, height) << id;
        ASSERT_EQ(64u, pixels.size()) << id;
        // The dialogs are white: the corners blend in, the middle does not.
        EXPECT_TRUE(IsWhite(pixels[0]) && IsWhite(pixels[63])) << "bitmap " << id;
        EXPECT_GT(Count(pixels, IsColourful), 8) << "bitmap " << id;
    }
}

} // namespace
