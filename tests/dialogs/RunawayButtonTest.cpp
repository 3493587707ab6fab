#include "dialogs/RunawayButton.h"

#include <gtest/gtest.h>

#include "FakeControls.h"
#include "dialogs/DialogIds.h"
#include "media/Sound.h"

namespace lumi {
namespace {

using dialogs::Point;
using dialogs::Rect;
using dialogs::RunawayButton;
using dialogs::RunawayStep;
using testing::FakeControls;

// A 500 × 400 dialog at the screen's corner with an 80 × 40 button at (200, 300):
// the left band is 185 < x < 215, the right band 265 < x < 295, the top band
// 285 < y < 315, the bottom band 325 < y < 355; rows 285 < y < 355, columns 185 < x < 295.
// (A button lower than 30 pixels has no row where only a side band holds.)
const Rect kDialog{0, 0, 500, 400};
const Rect kButton{200, 300, 80, 40};

bool Same(Point a, Point b) { return a.x == b.x && a.y == b.y; }

TEST(RunawayStepTest, EachEdgeSendsTheButtonAwayOrBackTowardsTheMiddle) {
    // Left edge: away to the right; with the right edge 50 pixels from the dialog's, back left.
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {190, 320}), {1, 0}));
    EXPECT_TRUE(Same(RunawayStep({370, 300, 80, 40}, kDialog, {360, 320}), {-3, 0}));  // 370+80+50 = 500
    EXPECT_TRUE(Same(RunawayStep({369, 300, 80, 40}, kDialog, {360, 320}), {1, 0}));   // 499: still room
    // Right edge: away to the left; within 50 pixels of the dialog's left, back right.
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {285, 320}), {-1, 0}));
    EXPECT_TRUE(Same(RunawayStep({50, 300, 80, 40}, kDialog, {135, 320}), {3, 0}));  // 0 >= 50-50
    EXPECT_TRUE(Same(RunawayStep({51, 300, 80, 40}, kDialog, {136, 320}), {-1, 0}));
    // Top edge: down; when the top lies within 50 pixels of the dialog's bottom, up.
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {240, 295}), {0, 1}));
    EXPECT_TRUE(Same(RunawayStep({200, 350, 80, 40}, kDialog, {240, 345}), {0, -3}));  // 350+50 = 400
    // Bottom edge: up; near the dialog's top, down.
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {240, 340}), {0, -1}));
    EXPECT_TRUE(Same(RunawayStep({200, 50, 80, 40}, kDialog, {240, 80}), {0, 3}));
    // A corner moves both ways.
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {190, 295}), {1, 1}));
}

TEST(RunawayStepTest, TheBandsAreFifteenPixelsWideWithOpenEnds) {
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {185, 320}), {0, 0}));
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {186, 320}), {1, 0}));
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {214, 320}), {1, 0}));
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {215, 320}), {0, 0}));
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {190, 285}), {0, 0}));
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {190, 354}), {1, -1}));
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {190, 355}), {0, 0}));
    // The middle of the button and the far distance are no approach.
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {240, 320}), {0, 0}));
    EXPECT_TRUE(Same(RunawayStep(kButton, kDialog, {-1000, -1000}), {0, 0}));
    // An odd height runs the side bands along the even height below it (300 + 40 + 15),
    // while the bottom band follows the real edge (326 < y < 356).
    EXPECT_TRUE(Same(RunawayStep({200, 300, 80, 41}, kDialog, {190, 354}), {1, -1}));
    EXPECT_TRUE(Same(RunawayStep({200, 300, 80, 41}, kDialog, {190, 355}), {0, -1}));
}

TEST(RunawayStepTest, ANarrowButtonSeenFromBothSidesGoesLeft) {
    // 20 pixels wide: the left band 185..215 and the right band 205..235 overlap.
    EXPECT_TRUE(Same(RunawayStep({200, 300, 20, 40}, kDialog, {210, 320}), {-1, 0}));
}

class RunawayButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        controls_.windowRect = kDialog;
        controls_.controls[IDC_OK].rect = kButton;
    }
    Rect Button() { return controls_.controls[IDC_OK].rect; }

    FakeControls controls_;
    RecordingSoundPlayer sounds_;
    RunawayButton button_;
};

TEST_F(RunawayButtonTest, ArmingStartsTheTenthSecondTimer) {
    button_.Arm(controls_, IDC_OK);
    EXPECT_TRUE(button_.Armed());
    EXPECT_EQ(controls_.timers.at(2), 100);
    button_.Disarm(controls_);
    EXPECT_EQ(controls_.timers.count(2), 0u);
}

TEST_F(RunawayButtonTest, AnApproachJumpsFiftyPixelsInFiftyMovesAndCounts) {
    button_.Arm(controls_, IDC_OK);
    controls_.cursor = {190, 320};
    button_.Tick(controls_, 2);
    EXPECT_EQ(Button().x, 250);
    EXPECT_EQ(Button().y, 300);
    EXPECT_EQ(controls_.moves, 50);
    EXPECT_EQ(button_.Attempts(), 1);
    ASSERT_EQ(sounds_.played.size(), 1u);
    EXPECT_EQ(sounds_.played[0].number, 188);

    // Now the pointer is 60 pixels left of it: nothing; then near its bottom edge: up 50.
    button_.Tick(controls_, 2);
    EXPECT_EQ(controls_.moves, 50);
    controls_.cursor = {290, 350};
    button_.Tick(controls_, 2);
    EXPECT_EQ(Button().x, 250);
    EXPECT_EQ(Button().y, 250);
    EXPECT_EQ(button_.Attempts(), 2);
}

TEST_F(RunawayButtonTest, NearTheDialogsEdgeItJumpsBackAHundredAndFifty) {
    controls_.controls[IDC_OK].rect = {400, 300, 80, 40};  // 400+80+50 >= 500
    button_.Arm(controls_, IDC_OK);
    controls_.cursor = {395, 320};
    button_.Tick(controls_, 2);
    EXPECT_EQ(Button().x, 250);
    controls_.controls[IDC_OK].rect = {20, 300, 80, 40};  // 0 >= 20-50
    controls_.cursor = {110, 320};
    button_.Tick(controls_, 2);
    EXPECT_EQ(Button().x, 170);
}

TEST_F(RunawayButtonTest, TheButtonNeverLeavesTheDialog) {
    // 340 + 50 < 400 sends it down, but 50 pixels would put its bottom at 430.
    controls_.controls[IDC_OK].rect = {200, 340, 80, 40};
    button_.Arm(controls_, IDC_OK);
    controls_.cursor = {240, 335};
    button_.Tick(controls_, 2);
    EXPECT_EQ(Button().y, 360);
    // A dialog too narrow for the 150-pixel jump back: it stops at the left edge.
    controls_.windowRect = {100, 0, 200, 400};
    controls_.controls[IDC_OK].rect = {200, 100, 80, 40};  // 200+80+50 >= 300
    controls_.cursor = {195, 120};
    button_.Tick(controls_, 2);
    EXPECT_EQ(Button().x, 100);
}

TEST_F(RunawayButtonTest, StaysWhenNotArmedPausedPushedOrForAnotherTimer) {
    controls_.cursor = {190, 320};
    button_.Tick(controls_, 2);  // not armed
    button_.Arm(controls_, IDC_OK);
    button_.Tick(controls_, 1);
    button_.Pause();
    button_.Tick(controls_, 2);
    button_.Resume();
    controls_.controls[IDC_OK].pushed = true;
    button_.Tick(controls_, 2);
    EXPECT_EQ(controls_.moves, 0);
    EXPECT_EQ(button_.Attempts(), 0);
    EXPECT_TRUE(sounds_.played.empty());
    controls_.controls[IDC_OK].pushed = false;
    button_.Tick(controls_, 2);
    EXPECT_EQ(button_.Attempts(), 1);
}

}  // namespace
}  // namespace lumi
