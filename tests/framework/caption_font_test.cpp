#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// The face font mapping gives for a request by name and character set.
std::string RealisedFace(const char* name, BYTE charset, int height)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HFONT font = ::CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name);
    HGDIOBJ previous = ::SelectObject(dc, font);
    char face[LF_FACESIZE] = {};
    ::GetTextFaceA(dc, sizeof face, face);
    ::SelectObject(dc, previous);
    ::DeleteObject(font);
    ::DeleteDC(dc);
    return face;
}

// The dialogs' font at the sizes of the templates: Wine's own MS Sans Serif,
// as on Windows, not a wider substitute that would cut labels off.
TEST(CaptionButtonFont, DialogFontIsMsSansSerifItself)
{
    for (int height : {13, 16, 20})
        EXPECT_EQ(RealisedFace("MS Sans Serif", DEFAULT_CHARSET, height), "MS Sans Serif") << height << " pixels";
}

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

} // namespace
