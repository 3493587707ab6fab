// The occupancy matrix's covered-cell question against a plain copy of the cells kept by
// the test, after many random fills and masked writes, and at and beyond the edges.
#include "sky/SpaceMatrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/Log.h"
#include "common/TestSupport.h"

namespace lumi {
namespace {

class SpaceMatrixTest : public ::testing::Test {
protected:
    void SetUp() override { RestartLogAt(folder.File("log.txt")); }
    void TearDown() override { SkyMatrix.Destroy(); }

    testing::TempFolder folder;
};

// Every cell of the matrix and of the model, in both questions.
void ExpectAgrees(const std::vector<uint8_t>& model, int width, int height, int step) {
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const uint8_t cell = model[static_cast<size_t>(y) * width + x];
            ASSERT_EQ(SkyMatrix.GetData(x, y), cell) << "cell " << x << "," << y << " after step " << step;
            ASSERT_EQ(SkyMatrix.Covered(x, y), (cell & 3) != 0) << "cell " << x << "," << y << " after step " << step;
        }
    }
}

TEST_F(SpaceMatrixTest, CoveredAgreesWithTheCellsAfterRandomWrites) {
    constexpr int kWidth = 23;
    constexpr int kHeight = 17;
    SkyMatrix.Create(kWidth, kHeight);
    std::vector<uint8_t> model(kWidth * kHeight, 0);
    std::mt19937 random(12345);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    // Values that cover (1, 2, 3), release (8) and mix in the flag nobody sets (4).
    const uint8_t values[] = {0, 1, 2, 3, 4, 8, 9, 10, 12};
    for (int step = 0; step < 3000; ++step) {
        const uint8_t value = values[pick(0, 8)];
        if (pick(0, 2) == 0) {
            // Rectangles that may reach past any edge, as the moon and pictures do.
            const int x = pick(-6, kWidth), y = pick(-6, kHeight), w = pick(0, 12), h = pick(0, 12);
            SkyMatrix.Fill(x, y, w, h, value);
            for (int cx = std::max(x, 0); cx < std::min(x + w, kWidth); ++cx)
                for (int cy = std::max(y, 0); cy < std::min(y + h, kHeight); ++cy)
                    model[static_cast<size_t>(cy) * kWidth + cx] = value;
        } else {
            const int x = pick(0, kWidth - 1), y = pick(0, kHeight - 1);
            const auto mask = static_cast<uint8_t>(pick(0, 15));
            SkyMatrix.SetData(x, y, value, mask);
            uint8_t& cell = model[static_cast<size_t>(y) * kWidth + x];
            cell = static_cast<uint8_t>(value | (cell & ~mask));
        }
        if (step % 50 == 0 || step > 2950) ExpectAgrees(model, kWidth, kHeight, step);
    }
}

TEST_F(SpaceMatrixTest, CoveredClearsWithTheCellsAndWithANewMatrix) {
    SkyMatrix.Create(8, 100);
    // Two covered cells far apart in one column, then each released.
    SkyMatrix.SetData(5, 3, SpaceMatrixClass::kMoon, 0);
    SkyMatrix.SetData(5, 90, SpaceMatrixClass::kPicture, 0);
    EXPECT_TRUE(SkyMatrix.Covered(5, 3));
    EXPECT_FALSE(SkyMatrix.Covered(5, 50));
    EXPECT_TRUE(SkyMatrix.Covered(5, 90));
    SkyMatrix.SetData(5, 3, SpaceMatrixClass::kReleased, 0xFF);
    EXPECT_FALSE(SkyMatrix.Covered(5, 3));
    EXPECT_TRUE(SkyMatrix.Covered(5, 90));
    // A release that clears only flag 8 and 4 keeps the picture.
    SkyMatrix.SetData(5, 90, SpaceMatrixClass::kReleased, SpaceMatrixClass::kReleased | SpaceMatrixClass::kUnused);
    EXPECT_TRUE(SkyMatrix.Covered(5, 90));
    SkyMatrix.Fill(0, 80, 8, 20, SpaceMatrixClass::kReleased);
    EXPECT_FALSE(SkyMatrix.Covered(5, 90));
    // Flag 4 or 8 alone is not a cover.
    SkyMatrix.Fill(0, 0, 8, 100, SpaceMatrixClass::kUnused | SpaceMatrixClass::kReleased);
    EXPECT_FALSE(SkyMatrix.Covered(0, 0));
    // The moon over a whole column, then a new matrix of the same size starts empty.
    SkyMatrix.Fill(2, -10, 1, 200, SpaceMatrixClass::kMoon);
    EXPECT_TRUE(SkyMatrix.Covered(2, 0));
    EXPECT_TRUE(SkyMatrix.Covered(2, 99));
    SkyMatrix.Create(8, 100);
    EXPECT_FALSE(SkyMatrix.Covered(2, 0));
}

TEST_F(SpaceMatrixTest, CoveredOutsideTheMatrixIsLoggedAndFalse) {
    SkyMatrix.Create(4, 3);
    SkyMatrix.Fill(0, 0, 4, 3, SpaceMatrixClass::kMoon);
    EXPECT_FALSE(SkyMatrix.Covered(4, 0));
    EXPECT_FALSE(SkyMatrix.Covered(0, 3));
    EXPECT_FALSE(SkyMatrix.Covered(-1, 1));
    SkyMatrix.Destroy();
    EXPECT_FALSE(SkyMatrix.Covered(0, 0));
    const std::string log = testing::ReadFile(folder.File("log.txt"));
    EXPECT_NE(log.find("ERROR> GetData-out of bounds X4"), std::string::npos);
    EXPECT_NE(log.find("ERROR> GetData-out of bounds Y3"), std::string::npos);
    EXPECT_NE(log.find("ERROR> GetData-out of bounds X-1"), std::string::npos);
    EXPECT_NE(log.find("ERROR> GetData-out of bounds X0"), std::string::npos);
}

}  // namespace
}  // namespace lumi
