// Fonts: the glyph cache, the code page, fonts without a face, and the platform's
// rasterizer with the faces the saver asks for.
#include "gfx/Font.h"

#include <gtest/gtest.h>

#include <set>

#include "FakeFont.h"
#include "RasterTestSupport.h"
#include "gfx/Canvas.h"

namespace lumi::gfx {
namespace {

TEST(Font, RendersEachCharacterOnce) {
    int renders = 0;
    auto font = testing::MakeFakeFont(&renders);
    for (int i = 0; i < 100; ++i) font->Measure("abcab", 0);
    EXPECT_EQ(renders, 3);
    EXPECT_EQ(font->Measure("abcab", 2), (Size{40, 8}));
}

TEST(Font, MapsTheCodePageToUnicode) {
    EXPECT_EQ(Font::ToUnicode('A'), U'A');
    EXPECT_EQ(Font::ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Font::ToUnicode(0x9F), U'\u0178');
    EXPECT_EQ(Font::ToUnicode(0xE9), U'\u00E9');
    EXPECT_EQ(Font::ToUnicode(0x81), U'\u0081');
}

TEST(Font, ControlCharactersTakeNoRoom) {
    auto font = testing::MakeFakeFont();
    EXPECT_EQ(font->Measure("a\tb\r", 0).cx, 12);
}

TEST(Font, WithoutAFaceStillMeasuresButDrawsNothing) {
    LogFont request;
    request.height = -20;
    auto font = Font::FromFace(request, nullptr);
    EXPECT_FALSE(font->HasFace());
    EXPECT_EQ(font->Metrics().Height(), 20);
    EXPECT_EQ(font->Measure("ab", 1).cx, 22);
    EXPECT_EQ(font->Glyph('a').width, 0);
}

class BrokenFace : public testing::FakeFace {
public:
    GlyphImage RenderGlyph(char32_t) override {
        GlyphImage g;
        g.width = 10;
        g.height = 10;
        g.mask.resize(3);  // does not match the size
        g.advance = -5;
        return g;
    }
};

TEST(Font, DistrustsMalformedGlyphs) {
    auto font = Font::FromFace(LogFont{}, std::make_unique<BrokenFace>());
    const GlyphImage& g = font->Glyph('x');
    EXPECT_EQ(g.width, 0);
    EXPECT_TRUE(g.mask.empty());
    EXPECT_EQ(g.advance, 0);
    auto canvas = testing::MakeCanvas(4, 4);
    canvas->SelectFont(font);
    canvas->TextOut(0, 0, "xx");
    SUCCEED();
}

TEST(FontRegistry, PixelsPerInchIsSettable) {
    EXPECT_EQ(PixelsPerInch(), 96);
    SetPixelsPerInch(120);
    auto canvas = testing::MakeCanvas(1, 1);
    EXPECT_EQ(canvas->LogPixelsY(), 120);
    SetPixelsPerInch(0);
    EXPECT_EQ(PixelsPerInch(), 96);
}

// The platform's own rasterizer with the faces and sizes the saver uses.
class PlatformFonts : public ::testing::Test {
protected:
    void SetUp() override { SetFontRasterizer(nullptr); }
    static LogFont Request(const char* face, int height) {
        LogFont request;
        request.faceName = face;
        request.height = height;
        return request;
    }
};

TEST_F(PlatformFonts, CourierNewIsAFixedPitchFaceOfTheRightSize) {
    // 12 points at 96 pixels per inch: a character height of 16 pixels.
    int height = -MulDiv(12, PixelsPerInch(), 72);
    ASSERT_EQ(height, -16);
    auto font = Font::Create(Request("Courier New", height));
    ASSERT_TRUE(font->HasFace());
    EXPECT_TRUE(font->Metrics().fixedPitch) << font->FamilyName();
    std::set<int> advances;
    for (int c = 0x20; c < 0x7F; ++c) advances.insert(font->Advance(static_cast<unsigned char>(c)));
    EXPECT_EQ(advances.size(), 1u) << font->FamilyName();
    EXPECT_GE(*advances.begin(), 8);
    EXPECT_LE(*advances.begin(), 11);
    // The cell is a little taller than the character height.
    EXPECT_GE(font->Metrics().Height(), 17);
    EXPECT_LE(font->Metrics().Height(), 19);
}

TEST_F(PlatformFonts, CourierNewDrawsCrispNonBlackPixels) {
    auto font = Font::Create(Request("Courier New", -16));
    auto canvas = testing::MakeCanvas(200, 40);
    canvas->SelectFont(font);
    canvas->SetTextColor(Rgb(255, 255, 255));
    canvas->SetBkColor(0);
    canvas->TextOut(2, 2, "Hello");
    std::set<Color> colours;
    for (Color c : canvas->Bitmap()->ReadPixels()) colours.insert(c);
    // Only black and the text colour: no antialiased shades.
    EXPECT_EQ(colours, (std::set<Color>{0, Rgb(255, 255, 255)}));
    int lit = 0;
    for (Color c : canvas->Bitmap()->ReadPixels()) lit += c != 0;
    EXPECT_GT(lit, 40);
}

TEST_F(PlatformFonts, TheBottomLinesLightFontKeepsItsPunctuation) {
    // The bottom line asks for weight 100 in the default face at 10 points; a period
    // must still leave pixels in one-bit glyphs.
    LogFont light = Request("", -13);
    light.weight = 100;
    auto font = Font::Create(light);
    auto canvas = testing::MakeCanvas(40, 30);
    canvas->SelectFont(font);
    canvas->SetTextColor(Rgb(255, 255, 255));
    canvas->SetBkColor(0);
    canvas->TextOut(2, 2, ".");
    int lit = 0;
    for (Color c : canvas->Bitmap()->ReadPixels()) lit += c != 0;
    EXPECT_GT(lit, 0) << font->FamilyName();
}

TEST_F(PlatformFonts, PositiveHeightsAreCellHeights) {
    auto font = Font::Create(Request("Courier New", 18));
    ASSERT_TRUE(font->HasFace());
    EXPECT_EQ(font->Metrics().Height(), 18);
}

TEST_F(PlatformFonts, AnEmptyFaceNameGivesTheDefaultFace) {
    auto font = Font::Create(Request("", -13));
    ASSERT_TRUE(font->HasFace());
    EXPECT_FALSE(font->FamilyName().empty());
    EXPECT_GT(font->Measure("Moon", 0).cx, 0);
    auto stock = StockFont();
    ASSERT_TRUE(stock->HasFace());
    EXPECT_EQ(stock->Metrics().Height(), kDefaultCellHeight);
}

TEST_F(PlatformFonts, UnknownFacesFallBackToSomeFace) {
    auto font = Font::Create(Request("No Such Face 7271", 0));
    EXPECT_TRUE(font->HasFace());
    LogFont odd = Request("Courier New", -100000);
    odd.weight = 100000;
    EXPECT_TRUE(Font::Create(odd)->Glyph('W').advance > 0);
}

}  // namespace
}  // namespace lumi::gfx
