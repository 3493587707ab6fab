#include "dialogs/WorldTimeDialog.h"

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "FakeControls.h"
#include "dialogs/DialogIds.h"

namespace lumi {
namespace {

using dialogs::WorldTimeDialog;
using testing::FakeControls;

class WorldTimeDialogTest : public testing::DialogSettingsTest {};

TEST_F(WorldTimeDialogTest, OffersTheZonesAndMakesTheKeywordOfTheChoice) {
    FakeControls controls;
    WorldTimeDialog dialog("HEART", "and love");
    dialog.Open(controls);
    for (int id : {IDC_WORLD_LOCAL, IDC_WORLD_WATCHED}) {
        const auto& items = controls.controls[id].items;
        ASSERT_EQ(items.size(), 64u);
        EXPECT_EQ(items.front(), "(GMT-12:00) Eniwetok, Kwajalein");
        EXPECT_EQ(items[21], "(GMT) Greenwich Mean Time : Dublin, Edinburgh, Lisbon, London");
        EXPECT_EQ(items.back(), "(GMT+12:00) Auckland, Wellington");
        EXPECT_EQ(controls.Selection(id), -1);
    }
    EXPECT_NE(LogText().find("WorldComboBox items64"), std::string::npos);
    EXPECT_EQ(controls.Text(IDC_WORLD_BOTTOMLINE), "and love");

    controls.SetSelection(IDC_WORLD_LOCAL, 21);
    controls.SetSelection(IDC_WORLD_WATCHED, 43);
    controls.Type(dialog, IDC_WORLD_BOTTOMLINE, "Good morning, Delhi");
    controls.Click(dialog, IDC_OK);
    EXPECT_EQ(controls.ended, 1);
    EXPECT_EQ(dialog.Result().message, "TIME 5.5   iLoc21 iWor43");
    EXPECT_EQ(dialog.Result().bottomLine, "Good morning, Delhi");
}

TEST_F(WorldTimeDialogTest, ReopeningOnTheKeywordRestoresBothZonesAndChecks) {
    FakeControls first;
    WorldTimeDialog dialog("", "");
    dialog.Open(first);
    first.SetSelection(IDC_WORLD_LOCAL, 25);
    first.SetChecked(IDC_WORLD_LOCAL_DST, true);
    first.SetSelection(IDC_WORLD_WATCHED, 10);
    first.SetChecked(IDC_WORLD_WATCHED_DST, true);
    first.Click(dialog, IDC_OK);
    // (-5 + 1) - (1 + 1) hours.
    ASSERT_EQ(dialog.Result().message, "TIME -6.0 LDST WDST iLoc25 iWor10");

    FakeControls again;
    WorldTimeDialog reopened(dialog.Result().message, "x");
    reopened.Open(again);
    EXPECT_EQ(again.Selection(IDC_WORLD_LOCAL), 25);
    EXPECT_EQ(again.Selection(IDC_WORLD_WATCHED), 10);
    EXPECT_TRUE(again.Checked(IDC_WORLD_LOCAL_DST));
    EXPECT_TRUE(again.Checked(IDC_WORLD_WATCHED_DST));

    FakeControls onlyLocal;
    WorldTimeDialog third("TIME -7.0 LDST  iLoc25 iWor10", "");
    third.Open(onlyLocal);
    EXPECT_TRUE(onlyLocal.Checked(IDC_WORLD_LOCAL_DST));
    EXPECT_FALSE(onlyLocal.Checked(IDC_WORLD_WATCHED_DST));
}

TEST_F(WorldTimeDialogTest, AMissingZoneAsksForItAndCancelGivesNothing) {
    FakeControls controls;
    WorldTimeDialog dialog("", "");
    dialog.Open(controls);
    controls.SetSelection(IDC_WORLD_LOCAL, 3);
    controls.Click(dialog, IDC_OK);
    EXPECT_EQ(dialog.Result().message, "Please select\na world location");

    FakeControls cancelled;
    WorldTimeDialog other("TIME 0", "b");
    other.Open(cancelled);
    cancelled.SetSelection(IDC_WORLD_LOCAL, 3);
    cancelled.Click(other, IDC_CANCEL);
    EXPECT_EQ(cancelled.ended, 0);
    EXPECT_EQ(other.Result().message, "");
}

}  // namespace
}  // namespace lumi
