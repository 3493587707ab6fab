// Rectangle intersection and the platform's rounding MulDiv.
#include "gfx/Types.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumi::gfx {
namespace {

TEST(Types, IntersectGivesAnEmptyRectangleWhenApart) {
    EXPECT_EQ(Intersect(Rect{0, 0, 10, 10}, Rect{5, -5, 20, 5}), (Rect{5, 0, 10, 5}));
    EXPECT_EQ(Intersect(Rect{0, 0, 10, 10}, Rect{10, 0, 20, 10}), Rect{});
    EXPECT_TRUE(Intersect(Rect{0, 0, 10, 10}, Rect{3, 3, 2, 2}).IsEmpty());
}

TEST(Types, MulDivRoundsHalfAwayFromZeroAndReportsFailure) {
    EXPECT_EQ(MulDiv(12, 96, 72), 16);
    EXPECT_EQ(MulDiv(10, 96, 72), 13);  // 13.33
    EXPECT_EQ(MulDiv(1, 3, 2), 2);      // 1.5 rounds up
    EXPECT_EQ(MulDiv(-1, 3, 2), -2);
    EXPECT_EQ(MulDiv(1200, 300, 4800), 75);
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
    EXPECT_EQ(MulDiv(INT_MAX, 4, 2), -1);
    EXPECT_EQ(MulDiv(INT_MIN, 1, 1), INT_MIN);
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
}

}  // namespace
}  // namespace lumi::gfx
