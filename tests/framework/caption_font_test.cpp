#include <gtest/gtest.h>

#include <windows.h>

namespace {

// The frame's minimise, maximise and close boxes are glyphs of Marlett, asked
// for by name and character set as the system draws them. Where the font is
// missing, font mapping hands back another face and the boxes show letters.
TEST(CaptionButtonFont, MarlettIsInstalled)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HFONT marlett = ::CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH, "Marlett");
    ASSERT_NE(marlett, nullptr);
    HGDIOBJ previous = ::SelectObject(dc, marlett);

    char face[LF_FACESIZE] = {};
    ::GetTextFaceA(dc, sizeof face, face);
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc, &metrics);

    ::SelectObject(dc, previous);
    ::DeleteObject(marlett);
    ::DeleteDC(dc);
    EXPECT_STREQ(face, "Marlett");
    EXPECT_EQ(metrics.tmCharSet, SYMBOL_CHARSET);
}

}  // namespace
