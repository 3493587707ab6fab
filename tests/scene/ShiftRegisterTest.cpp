// The ring of past positions: what a word of the banner reads k pushes back, how a full
// ring drops its oldest pair, and the reports when the ring is misused.
#include "scene/ShiftRegister.h"

#include <gtest/gtest.h>

#include "support/ErrorReport.h"

namespace lumi {
namespace {

class ShiftRegisterTest : public ::testing::Test {
protected:
    void SetUp() override { ResetErrorReports(); }
    void TearDown() override { ResetErrorReports(); }
};

TEST_F(ShiftRegisterTest, HoldsNPairsAndCountsBackFromTheNewest) {
    ShiftRegister r;
    r.Create(3);
    EXPECT_EQ(r.Size(), 4);
    EXPECT_EQ(r.Held(), 0);
    r.Push(1, 10);
    r.Push(2, 20);
    r.Push(3, 30);
    EXPECT_EQ(r.Held(), 3);
    EXPECT_EQ(r.At(0).x, 3);
    EXPECT_EQ(r.At(1).y, 20);
    EXPECT_EQ(r.At(2).x, 1);

    // Full: the fourth push drops (1, 10); head and tail both wrap round the array.
    r.Push(4, 40);
    EXPECT_EQ(r.Held(), 3);
    EXPECT_EQ(r.At(0).x, 4);
    EXPECT_EQ(r.At(2).x, 2);
    EXPECT_EQ(r.Head(), 0);
    EXPECT_EQ(r.Tail(), 1);
    for (int i = 5; i <= 11; ++i) r.Push(i, i * 10);
    EXPECT_EQ(r.Held(), 3);
    EXPECT_EQ(r.At(0).x, 11);
    EXPECT_EQ(r.At(1).x, 10);
    EXPECT_EQ(r.At(2).y, 90);
    EXPECT_EQ(PendingErrorText(), "");
}

TEST_F(ShiftRegisterTest, ASecondCreateReportsAndStartsEmpty) {
    ShiftRegister r;
    r.Create(5);
    r.Push(1, 1);
    r.Create(2);
    EXPECT_EQ(PendingErrorText(), "ShiftRegister - 4601");
    EXPECT_EQ(r.Size(), 3);
    EXPECT_EQ(r.Held(), 0);
}

TEST_F(ShiftRegisterTest, AnImpossibleSizeLeavesNoArrayAndPushesDoNothing) {
    ShiftRegister r;
    r.Create(-1);
    EXPECT_EQ(PendingErrorText(), "ShiftRegister - 4602");
    ResetErrorReports();
    r.Create(ShiftRegister::kMaxPairs);
    EXPECT_EQ(PendingErrorText(), "ShiftRegister - 4602");
    EXPECT_FALSE(r.HasArray());
    r.Push(7, 7);
    EXPECT_EQ(r.Held(), 0);
    EXPECT_EQ(r.At(0).x, 0);  // nothing there to read, and no fault
    EXPECT_FALSE(r.Free());
}

}  // namespace
}  // namespace lumi
