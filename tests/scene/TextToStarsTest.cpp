// The sky's occupancy matrix, text measuring, and the mapping of a message canvas onto
// sky positions for the message stars.
#include "scene/TextToStars.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/TestSupport.h"
#include "gfx/Canvas.h"
#include "gfx/FakeFont.h"
#include "sky/SaverRun.h"
#include "scene/MessageCanvas.h"
#include "sky/SpaceMatrix.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

using gfx::Rgb;

class TextToStarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestartLogAt(folder.File("log.txt"));
        SeedRandom(3);
        ResetSaverRun();
        SaverRun().ScreenRect = SkyRect{0, 0, 1200, 800};
        SaverRun().MonitorRect = SkyRect{0, 0, 1000, 700};
        ResetMessageCanvas();
        ResetTextMapping();
    }
    void TearDown() override {
        ResetMessageCanvas();
        SkyMatrix.Destroy();
        ResetSaverRun();
        ResetRandomSeed();
    }

    std::string Log() const { return testing::ReadFile(folder.File("log.txt")); }

    // A black message canvas of the given picture size, scanned over canvasWidth x
    // canvasHeight, with the pixels lit.
    void DrawCanvas(int width, int height, const std::vector<gfx::Point>& lit, int scanWidth = -1,
                    int scanHeight = -1) {
        gfx::Canvas& dc = MessageCanvas().NewContext(nullptr);
        dc.SelectBitmap(gfx::Canvas::CreateCompatibleBitmap(nullptr, width, height));
        for (const gfx::Point& p : lit) dc.SetPixel(p.x, p.y, Rgb(255, 255, 255));
        MessageCanvas().canvasWidth = scanWidth < 0 ? width : scanWidth;
        MessageCanvas().canvasHeight = scanHeight < 0 ? height : scanHeight;
    }

    testing::TempFolder folder;
};

TEST_F(TextToStarsTest, MatrixAccessOutsideIsLoggedAndHarmless) {
    SkyMatrix.Create(20, 10);
    EXPECT_EQ(SkyMatrix.GetData(-1, 5), 0);
    SkyMatrix.SetData(3, 10, 2, 0);
    SkyMatrix.SetData(20, 3, 2, 0);
    EXPECT_EQ(SkyMatrix.GetData(3, 10), 0);
    EXPECT_EQ(SkyMatrix.GetData(3, 9), 0);
    EXPECT_EQ(SkyMatrix.GetData(19, 3), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("info> SpaceMatrixClass-Create-width_in20"), std::string::npos);
    EXPECT_NE(log.find("info> SpaceMatrixClass-Create-height_in10"), std::string::npos);
    EXPECT_NE(log.find("ERROR> GetData-out of bounds X-1"), std::string::npos);
    EXPECT_NE(log.find("ERROR> SetData-out of bounds Y10"), std::string::npos);
    EXPECT_NE(log.find("ERROR> SetData-out of bounds X20"), std::string::npos);
    EXPECT_NE(log.find("ERROR> GetData-out of bounds Y10"), std::string::npos);

    SkyMatrix.Destroy();
    EXPECT_EQ(SkyMatrix.GetData(0, 0), 0);
    SkyMatrix.Fill(0, 0, 5, 5, 2);
    EXPECT_NE(Log().find("SpaceMatrixClass-Destroy: called"), std::string::npos);
}

TEST_F(TextToStarsTest, MatrixFillClipsAndSetDataMasks) {
    SkyMatrix.Create(20, 10);
    SkyMatrix.Fill(-5, -5, 10, 10, 2);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 10; ++y) EXPECT_EQ(SkyMatrix.GetData(x, y), x < 5 && y < 5 ? 2 : 0) << x << "," << y;

    SkyMatrix.Fill(15, 8, 100, 100, 1);
    EXPECT_EQ(SkyMatrix.GetData(19, 9), 1);
    EXPECT_EQ(SkyMatrix.GetData(14, 9), 0);
    SkyMatrix.Fill(3, 3, 0, 4, 8);
    SkyMatrix.Fill(30, 3, 4, 4, 8);
    EXPECT_EQ(SkyMatrix.GetData(3, 3), 2);

    SkyMatrix.SetData(2, 2, 8, 12);
    EXPECT_EQ(SkyMatrix.GetData(2, 2), 10);
    SkyMatrix.SetData(10, 2, 4, 0);
    SkyMatrix.SetData(10, 2, 8, 12);
    EXPECT_EQ(SkyMatrix.GetData(10, 2), 8);
}

TEST_F(TextToStarsTest, TextSizeIsTheWidestLineByTheSumOfHeights) {
    gfx::Canvas dc(gfx::Surface::Create(10, 10));
    dc.SelectFont(gfx::testing::MakeFakeFont());
    int32_t width = -1, height = -1;
    GetTextSize(&dc, "abc\ndefgh", &width, &height);
    EXPECT_EQ(width, 30);
    EXPECT_EQ(height, 16);

    // A carriage return is measured as a blank; a final line feed adds an empty line.
    GetTextSize(&dc, "ab\r\ncd\n", &width, &height);
    EXPECT_EQ(width, 18);
    EXPECT_EQ(height, 24);

    GetTextSize(&dc, "only the height", nullptr, &height);
    EXPECT_EQ(height, 8);

    // Over-long texts are measured by their first 499 characters, and reported.
    GetTextSize(&dc, std::string(600, 'x'), &width, &height);
    EXPECT_EQ(width, 499 * 6);
    GetTextSize(&dc, std::string(60, 'y') + std::string(60, '\n'), &width, &height);
    EXPECT_EQ(height, 61 * 8);
    const std::string log = Log();
    EXPECT_NE(log.find("ERROR> Lumivan/GetTextSize Y488"), std::string::npos);
    EXPECT_NE(log.find("ERROR> Lumivan/GetTextSize: x*y"), std::string::npos);

    GetTextSize(nullptr, "lost", &width, &height);
    EXPECT_EQ(width, 0);
    EXPECT_NE(Log().find("ERROR> Lumivan/GetTextSize: !GetTextExtentPoint32a"), std::string::npos);
    EXPECT_NE(Log().find("WARNING> sm-GetTextSize (x<=0): lost"), std::string::npos);
}

TEST_F(TextToStarsTest, ASinglePixelIsScaledTenfoldSomewhereInsideTheBorders) {
    for (uint32_t seed = 1; seed < 40; ++seed) {
        SeedRandom(seed);
        DrawCanvas(3, 3, {{0, 0}});
        Text2Pixel();
        EXPECT_FLOAT_EQ(TextMapping().ScaleFactor, 10.0f);
        EXPECT_GE(TextMapping().BiasX, 100);
        EXPECT_LE(TextMapping().BiasX, 899);
        EXPECT_GE(TextMapping().BiasY, 100);
        EXPECT_LE(TextMapping().BiasY, 599);
    }
    const std::string log = Log();
    EXPECT_NE(log.find("Text2Pixel-borderX100"), std::string::npos);
    EXPECT_NE(log.find("Text2Pixel-ScaleFactorY400"), std::string::npos);
}

TEST_F(TextToStarsTest, LitPixelsBecomeScaledTargetsInReadingOrder) {
    // Bounds 10..109 by 5..44: scaleX = 700 / 100 = 7 and scaleY = 400 / 40 = 10.
    const std::vector<gfx::Point> lit = {{10, 5}, {60, 5}, {109, 5}, {11, 20}, {50, 44}};
    DrawCanvas(200, 100, lit);
    Text2Pixel();
    const TextMappingState& m = TextMapping();
    EXPECT_FLOAT_EQ(m.ScaleFactor, 7.0f);

    for (const gfx::Point& p : lit) {
        int32_t x = -1, y = -1;
        ASSERT_EQ(GetNextXY(x, y), 1);
        EXPECT_EQ(x, p.x * 7 + m.BiasX);
        EXPECT_EQ(y, p.y * 7 + m.BiasY);
        // The message lies inside the text area less its borders.
        EXPECT_GE(x, 100);
        EXPECT_LE(x, 900);
        EXPECT_GE(y, 100);
        EXPECT_LE(y, 600);
    }
    // The canvas is used up.
    for (const gfx::Point& p : lit) EXPECT_FALSE(MessageCanvas().IsLit(p.x, p.y));

    // Stars left over are parked below the sky, at a random column.
    for (int i = 0; i < 20; ++i) {
        int32_t x = -1, y = -1;
        EXPECT_EQ(GetNextXY(x, y), 0);
        EXPECT_EQ(y, 800);
        EXPECT_GE(x, 0);
        EXPECT_LT(x, 1200);
    }

    // A new message starts the scan afresh. The generator seeded with 1 draws 41 and then
    // 18467 (of 32768): the one pixel lands at the left border (100) plus 41 / 32768 of the
    // 800 columns left (1), and at the top border (100) plus 18467 / 32768 of 500 rows (281).
    DrawCanvas(200, 100, {{150, 90}});
    SeedRandom(1);
    Text2Pixel();
    int32_t x = 0, y = 0;
    EXPECT_EQ(GetNextXY(x, y), 1);
    EXPECT_EQ(x, 101);
    EXPECT_EQ(y, 381);
}

TEST_F(TextToStarsTest, CanvasesWithoutLitPixelsParkEveryStar) {
    // One row and nothing lit: the spans would be zero.
    DrawCanvas(30, 1, {});
    Text2Pixel();
    int32_t x = 0, y = 0;
    EXPECT_EQ(GetNextXY(x, y), 0);
    EXPECT_EQ(y, 800);

    // No context at all (nothing projected yet).
    ResetMessageCanvas();
    MessageCanvas().canvasWidth = 50;
    MessageCanvas().canvasHeight = 20;
    Text2Pixel();
    EXPECT_EQ(GetNextXY(x, y), 0);
    EXPECT_EQ(y, 800);

    // A failed picture leaves the 1 x 1 bitmap of a new context under a larger scan area:
    // outside it nothing is lit.
    MessageCanvas().NewContext(nullptr);
    MessageCanvas().canvasWidth = 65;
    MessageCanvas().canvasHeight = 55;
    Text2Pixel();
    EXPECT_EQ(GetNextXY(x, y), 0);
}

TEST_F(TextToStarsTest, PicturesAreScannedOnlyOverTheirCanvasSize) {
    // A picture one pixel larger than its canvas: its last column and row are not used.
    // Only (2, 2) counts, so it is placed alone, as in the test above: 101, 381. Were the
    // edge pixels scanned, the first target would be (5, 0) at another place.
    DrawCanvas(6, 6, {{5, 0}, {0, 5}, {2, 2}}, 5, 5);
    SeedRandom(1);
    Text2Pixel();
    int32_t x = 0, y = 0;
    EXPECT_EQ(GetNextXY(x, y), 1);
    EXPECT_EQ(x, 101);
    EXPECT_EQ(y, 381);
    EXPECT_EQ(GetNextXY(x, y), 0);
}

TEST_F(TextToStarsTest, PositionsOffTheSkyAreParked) {
    DrawCanvas(4, 4, {{1, 1}, {2, 1}});
    Text2Pixel();
    TextMapping().BiasX = -50;
    int32_t x = 0, y = 0;
    EXPECT_EQ(GetNextXY(x, y), 0);
    EXPECT_EQ(y, 800);
    EXPECT_NE(Log().find("ERROR> GetNextXY x-40"), std::string::npos);
    TextMapping().BiasX = 0;
    TextMapping().BiasY = -100;
    EXPECT_EQ(GetNextXY(x, y), 0);
    EXPECT_EQ(y, 800);
    EXPECT_NE(Log().find("ERROR> GetNextXY y-90"), std::string::npos);
}

}  // namespace
}  // namespace lumi
