#include "dialogs/CounterDialogs.h"

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "FakeControls.h"
#include "base/Clock.h"
#include "base/FakeClock.h"
#include "dialogs/DialogIds.h"

namespace lumi {
namespace {

using dialogs::BirthdayDialog;
using dialogs::CountdownDialog;
using testing::FakeControls;

// 2000-06-01 00:00 UTC: countdown years from 2000 to 2020 pass.
constexpr int64_t kJune2000Ms = 959817600000LL;

class CounterDialogsTest : public testing::DialogSettingsTest {
protected:
    void SetUp() override {
        DialogSettingsTest::SetUp();
        SetClock(&clock_);
    }
    void TearDown() override {
        SetClock(nullptr);
        DialogSettingsTest::TearDown();
    }
    void TypeDate(dialogs::DialogLogic& dialog, const char* year, const char* month, const char* day) {
        controls_.Type(dialog, IDC_DATE_YEAR, year);
        controls_.Type(dialog, IDC_DATE_MONTH, month);
        controls_.Type(dialog, IDC_DATE_DAY, day);
    }
    long Stored(const char* section, const char* key) { return MainIni().ReadIntForUser(section, key, -1); }

    FakeClock clock_{kJune2000Ms};
    FakeControls controls_;
};

TEST_F(CounterDialogsTest, CountdownShowsTheStoredTargetAndOkKeepsTheNewOne) {
    CountdownDialog dialog;
    dialog.Open(controls_);
    EXPECT_EQ(controls_.Text(IDC_DATE_YEAR), "2003");
    EXPECT_EQ(controls_.Text(IDC_DATE_MONTH), "1");
    EXPECT_EQ(controls_.Text(IDC_DATE_DAY), "1");
    EXPECT_EQ(controls_.Text(IDC_DATE_HOUR), "0");
    EXPECT_EQ(controls_.Text(IDC_DATE_MINUTE), "0");

    TypeDate(dialog, "2012", " 12", "21 ");
    controls_.Type(dialog, IDC_DATE_HOUR, "23");
    controls_.Type(dialog, IDC_DATE_MINUTE, "59");
    controls_.Click(dialog, IDC_OK);
    EXPECT_EQ(controls_.ended, 1);
    EXPECT_TRUE(boxes_.boxes.empty());
    EXPECT_EQ(Stored("CDCounter", "Year"), 2012);
    EXPECT_EQ(Stored("CDCounter", "Month"), 12);
    EXPECT_EQ(Stored("CDCounter", "Day"), 21);
    EXPECT_EQ(Stored("CDCounter", "Hour"), 23);
    EXPECT_EQ(Stored("CDCounter", "Min"), 59);

    CountdownDialog again;
    FakeControls reopened;
    again.Open(reopened);
    EXPECT_EQ(reopened.Text(IDC_DATE_DAY), "21");
    EXPECT_EQ(reopened.Text(IDC_DATE_MINUTE), "59");
}

TEST_F(CounterDialogsTest, CountdownRefusesFarPastAndGarbledFieldsAndStaysOpen) {
    CountdownDialog dialog;
    dialog.Open(controls_);
    struct Case {
        const char* field;
        int id;
        const char* typed;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"far year", IDC_DATE_YEAR, "2021", "Error in Year", "You specified a very far year"},
        {"past year", IDC_DATE_YEAR, "1997", "Error in Year", "You can not specify past years"},
        {"month 13", IDC_DATE_MONTH, "13", "Error in Month", "Please enter a number from 1 to 12"},
        {"day 0", IDC_DATE_DAY, "0", "Error in Day", "Please enter a number from 1 to 31"},
        {"hour letters", IDC_DATE_HOUR, "ten", "Error in Hour", "Please enter a number from 0 to 23"},
        {"minute 60", IDC_DATE_MINUTE, "60", "Error in Minutes", nullptr},
        {"minute empty", IDC_DATE_MINUTE, "", "Error in Minutes", nullptr},
    };
    for (const Case& c : cases) {
        FakeControls fields;
        CountdownDialog one;
        one.Open(fields);
        fields.Type(one, c.id, c.typed);
        fields.Click(one, IDC_OK);
        EXPECT_FALSE(fields.ended.has_value()) << c.field;
        ASSERT_EQ(boxes_.boxes.size(), 1u) << c.field;
        EXPECT_EQ(boxes_.boxes[0].caption, c.title) << c.field;
        if (c.text) {
            EXPECT_EQ(boxes_.boxes[0].text, c.text) << c.field;
        }
        boxes_.boxes.clear();
    }
    EXPECT_EQ(Stored("CDCounter", "Year"), -1);

    // The first refused field is the one reported.
    TypeDate(dialog, "1997", "13", "0");
    controls_.Click(dialog, IDC_OK);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "You can not specify past years");
}

TEST_F(CounterDialogsTest, CountdownCancelKeepsNothing) {
    CountdownDialog dialog;
    dialog.Open(controls_);
    controls_.Type(dialog, IDC_DATE_YEAR, "2010");
    controls_.Click(dialog, IDC_CANCEL);
    EXPECT_EQ(controls_.ended, 0);
    EXPECT_EQ(Stored("CDCounter", "Year"), -1);
}

TEST_F(CounterDialogsTest, BirthdayShowsTheParsedDateAndOkTakesAndSavesTheFields) {
    Birthday birthday;
    ASSERT_TRUE(ParseBirthday("BIRTHDAY FROM 1975 5 23", birthday));
    BirthdayDialog dialog(birthday);
    dialog.Open(controls_);
    EXPECT_EQ(controls_.Text(IDC_DATE_YEAR), "1975");
    EXPECT_EQ(controls_.Text(IDC_DATE_MONTH), "5");
    EXPECT_EQ(controls_.Text(IDC_DATE_DAY), "23");

    TypeDate(dialog, "1980", "2", "29");
    controls_.Click(dialog, IDC_OK);
    EXPECT_EQ(controls_.ended, 1);
    EXPECT_EQ(FormatBirthday(birthday), "BIRTHDAY FROM 1980 2 29");
    EXPECT_EQ(Stored("Birthday", "Year"), 1980);
    EXPECT_EQ(Stored("Birthday", "Month"), 2);
    EXPECT_EQ(Stored("Birthday", "Day"), 29);
}

TEST_F(CounterDialogsTest, BirthdayRefusesOutOfRangeFieldsAndCancelLeavesTheDate) {
    Birthday birthday{23, 5, 1975};
    BirthdayDialog dialog(birthday);
    dialog.Open(controls_);
    TypeDate(dialog, "1949", "5", "23");
    controls_.Click(dialog, IDC_OK);
    TypeDate(dialog, "1975", "0", "23");
    controls_.Click(dialog, IDC_OK);
    TypeDate(dialog, "1975", "5", "x");
    controls_.Click(dialog, IDC_OK);
    EXPECT_FALSE(controls_.ended.has_value());
    ASSERT_EQ(boxes_.boxes.size(), 3u);
    EXPECT_EQ(boxes_.boxes[0].text, "Please enter a number from 1950 to 2050");
    EXPECT_EQ(boxes_.boxes[1].text, "Please enter a number from 1 to 12");
    EXPECT_EQ(boxes_.boxes[2].caption, "Error in Day");

    controls_.Click(dialog, IDC_CANCEL);
    EXPECT_EQ(controls_.ended, 0);
    EXPECT_EQ(FormatBirthday(birthday), "BIRTHDAY FROM 1975 5 23");
    EXPECT_EQ(Stored("Birthday", "Year"), -1);
}

}  // namespace
}  // namespace lumi
