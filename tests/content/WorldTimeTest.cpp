// World time: the zone table, the keyword, and the dialog's open / confirm round trip.
#include "content/WorldTime.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/TestSupport.h"
#include "base/Log.h"

namespace lumi {
namespace {

using Dst = DaylightSaving;

class WorldTimeTest : public ::testing::Test {
protected:
    void SetUp() override { RestartLogAt(folder.File("log.txt")); }
    std::string Log() { return testing::ReadFile(folder.File("log.txt")); }

    testing::TempFolder folder;
};

TEST_F(WorldTimeTest, ZoneNamesAgreeWithTheirOffsetsAndRunEastward) {
    EXPECT_EQ(ZoneAt(-1), nullptr);
    EXPECT_EQ(ZoneAt(kZoneCount), nullptr);
    EXPECT_STREQ(ZoneAt(0)->name, "(GMT-12:00) Eniwetok, Kwajalein");
    EXPECT_STREQ(ZoneAt(21)->name, "(GMT) Greenwich Mean Time : Dublin, Edinburgh, Lisbon, London");
    EXPECT_STREQ(ZoneAt(63)->name, "(GMT+12:00) Auckland, Wellington");

    for (int i = 0; i < kZoneCount; ++i) {
        const TimeZoneEntry* zone = ZoneAt(i);
        ASSERT_NE(zone, nullptr);
        EXPECT_LE(std::strlen(zone->name), 79u) << i;
        if (i > 0) {
            EXPECT_LE(ZoneAt(i - 1)->offset, zone->offset) << i;
        }
        // The label a user picks from must tell the truth about the offset used.
        const int minutes = static_cast<int>(zone->offset * 60.0f);
        char label[32];
        if (minutes == 0) {
            std::snprintf(label, sizeof label, "(GMT) ");
        } else {
            const int magnitude = minutes < 0 ? -minutes : minutes;
            std::snprintf(label, sizeof label, "(GMT%c%02d:%02d) ", minutes < 0 ? '-' : '+', magnitude / 60,
                          magnitude % 60);
        }
        EXPECT_EQ(std::strncmp(zone->name, label, std::strlen(label)), 0) << zone->name;
    }
}

TEST_F(WorldTimeTest, DifferenceCountsDaylightSavingOnBothSides) {
    EXPECT_FLOAT_EQ(WorldTimeDifference(21, Dst::No, 43, Dst::No), 5.5f);
    EXPECT_FLOAT_EQ(WorldTimeDifference(10, Dst::Yes, 10, Dst::No), -1.0f);
    EXPECT_FLOAT_EQ(WorldTimeDifference(0, Dst::No, 63, Dst::Yes), 25.0f);
    EXPECT_FLOAT_EQ(WorldTimeDifference(63, Dst::Yes, 0, Dst::No), -25.0f);
    EXPECT_FLOAT_EQ(WorldTimeDifference(16, Dst::No, 37, Dst::No), 7.0f);
}

TEST_F(WorldTimeTest, KeywordCarriesTheDifferenceAndBothChoices) {
    EXPECT_EQ(WorldTimeKeyword(5.5f, Dst::No, Dst::No, 21, 43), "TIME 5.5   iLoc21 iWor43");
    EXPECT_EQ(WorldTimeKeyword(-7.0f, Dst::Yes, Dst::No, 25, 10), "TIME -7.0 LDST  iLoc25 iWor10");
    EXPECT_EQ(WorldTimeKeyword(-0.5f, Dst::No, Dst::Yes, 1, 2), "TIME -0.5  WDST iLoc1 iWor2");
    EXPECT_EQ(WorldTimeKeyword(0.0f, Dst::No, Dst::No, 3, 3), "TIME 0.0   iLoc3 iWor3");
    const std::string longest = WorldTimeKeyword(-25.0f, Dst::Yes, Dst::Yes, 63, 63);
    EXPECT_EQ(longest, "TIME -25.0 LDST WDST iLoc63 iWor63");
    EXPECT_LT(longest.size(), kWorldMessageCapacity);
}

TEST_F(WorldTimeTest, KeywordKeepsItsDecimalPointUnderADecimalCommaLocale) {
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    // tools/setup.sh generates de_DE.UTF-8; without such a locale this case proves nothing.
    const bool commaLocale =
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") != nullptr;
    const std::string point = std::localeconv()->decimal_point;
    const std::string keyword = WorldTimeKeyword(5.5f, Dst::No, Dst::No, 21, 43);
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_TRUE(commaLocale) << "no decimal-comma locale installed (tools/setup.sh makes de_DE.UTF-8)";
    ASSERT_EQ(point, ",");
    EXPECT_EQ(keyword, "TIME 5.5   iLoc21 iWor43");
}

TEST_F(WorldTimeTest, ConfirmWritesTheKeywordAndLogsBothSteps) {
    WorldTimeChoice choice;
    choice.localZone = 10;
    choice.localDst = Dst::Yes;
    choice.watchedZone = 10;
    choice.bottomLine = "Back home";
    const WorldTimeResult result = ConfirmWorldTimeDialog(choice);
    EXPECT_EQ(result.message, "TIME -1.0 LDST  iLoc10 iWor10");
    EXPECT_EQ(result.bottomLine, "Back home");
    const std::string log = Log();
    EXPECT_NE(log.find("WorldTime Diff14"), std::string::npos) << log;
    EXPECT_NE(log.find("WorldTime Diff2-1-1"), std::string::npos) << log;

    // From London to New Delhi, and across the date line with summer time on the far side.
    EXPECT_EQ(ConfirmWorldTimeDialog({21, Dst::No, 43, Dst::No, ""}).message, "TIME 5.5   iLoc21 iWor43");
    EXPECT_EQ(ConfirmWorldTimeDialog({0, Dst::No, 63, Dst::Yes, ""}).message, "TIME 25.0  WDST iLoc0 iWor63");
    EXPECT_EQ(ConfirmWorldTimeDialog({25, Dst::Yes, 10, Dst::No, ""}).message, "TIME -7.0 LDST  iLoc25 iWor10");
}

TEST_F(WorldTimeTest, ConfirmWithoutAZoneAsksTheUserThroughTheSky) {
    WorldTimeChoice choice;
    choice.localZone = 21;
    EXPECT_EQ(ConfirmWorldTimeDialog(choice).message, "Please select\na world location");

    choice.localZone = -1;
    choice.watchedZone = 43;
    EXPECT_EQ(ConfirmWorldTimeDialog(choice).message, "Please select\nyour location");

    choice.watchedZone = -1;
    EXPECT_EQ(ConfirmWorldTimeDialog(choice).message, "Please select\na world location");

    choice.localZone = 64;  // no such entry: the same as no selection
    choice.watchedZone = 3;
    EXPECT_EQ(ConfirmWorldTimeDialog(choice).message, "Please select\nyour location");
}

TEST_F(WorldTimeTest, ConfirmCutsTheBottomLineToItsField) {
    WorldTimeChoice choice;
    choice.bottomLine = std::string(500, 'x');
    EXPECT_EQ(ConfirmWorldTimeDialog(choice).bottomLine.size(), 299u);
    EXPECT_EQ(OpenWorldTimeDialog("", std::string(500, 'y')).bottomLine.size(), 299u);
}

TEST_F(WorldTimeTest, ReopeningTheDialogRestoresEveryChoice) {
    const Dst both[] = {Dst::No, Dst::Yes};
    for (int local = 0; local < kZoneCount; ++local) {
        for (int watched = 0; watched < kZoneCount; watched += 7) {
            for (Dst ldst : both) {
                for (Dst wdst : both) {
                    WorldTimeChoice choice{local, ldst, watched, wdst, "line"};
                    const WorldTimeResult result = ConfirmWorldTimeDialog(choice);
                    ASSERT_LT(result.message.size(), kWorldMessageCapacity);
                    const WorldTimeChoice back = OpenWorldTimeDialog(result.message, result.bottomLine);
                    ASSERT_EQ(back.localZone, local) << result.message;
                    ASSERT_EQ(back.watchedZone, watched) << result.message;
                    ASSERT_EQ(back.localDst, ldst) << result.message;
                    ASSERT_EQ(back.watchedDst, wdst) << result.message;
                    ASSERT_EQ(back.bottomLine, "line");
                }
            }
        }
    }
}

TEST_F(WorldTimeTest, OpeningReadsMarkersWithoutRegardToCase) {
    WorldTimeChoice c = OpenWorldTimeDialog("time 2.0 ldst wdst iloc5 IWOR0x10", "");
    EXPECT_EQ(c.localZone, 5);
    EXPECT_EQ(c.watchedZone, 16) << "the index is read like %i";
    EXPECT_EQ(c.localDst, Dst::Yes);
    EXPECT_EQ(c.watchedDst, Dst::Yes);
    const std::string log = Log();
    EXPECT_NE(log.find("WorldComboBox items64"), std::string::npos);
    EXPECT_NE(log.find("sscan for local index5"), std::string::npos);
    EXPECT_NE(log.find("sscan for world index16"), std::string::npos);

    c = OpenWorldTimeDialog("TIME 0", "");
    EXPECT_EQ(c.localZone, -1);
    EXPECT_EQ(c.watchedZone, -1);
    EXPECT_EQ(c.localDst, Dst::No);
    EXPECT_EQ(c.watchedDst, Dst::No);
}

TEST_F(WorldTimeTest, IndexesThatNameNoZoneLeaveTheBoxEmpty) {
    EXPECT_EQ(OpenWorldTimeDialog("iLoc64 iWor-1", "").localZone, -1);
    EXPECT_EQ(OpenWorldTimeDialog("iLoc64 iWor-1", "").watchedZone, -1);
    EXPECT_EQ(OpenWorldTimeDialog("iLocabc iWor", "").localZone, -1);
    EXPECT_EQ(OpenWorldTimeDialog("iWor", "").watchedZone, -1);
    EXPECT_EQ(OpenWorldTimeDialog("iLoc99999999999999999999", "").localZone, -1);
    EXPECT_EQ(OpenWorldTimeDialog("iLoc4294967298", "").localZone, -1) << "no wrap to 2";
    EXPECT_EQ(OpenWorldTimeDialog("iLoc 7", "").localZone, 7) << "%i skips blanks";
}

}  // namespace
}  // namespace lumi
