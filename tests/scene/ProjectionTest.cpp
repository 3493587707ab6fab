// Message projection: which kind a message is, what each kind draws into the message
// canvas, the world-time text, the mail notice and the message font's sticky face.
#include "scene/Projection.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/TestSupport.h"
#include "gfx/Canvas.h"
#include "gfx/FakeFont.h"
#include "sky/SaverRun.h"
#include "mail/MailCount.h"
#include "media/Resources.h"
#include "media/Sound.h"
#include "base/FakeClock.h"
#include "scene/MessageCanvas.h"
#include "sky/SkyDC.h"
#include "scene/TextToStars.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

// Tuesday 2011-04-05 13:35:20 UTC.
constexpr int64_t kTuesdayAfternoonMs = 1302010520000LL;

class ProjectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetErrorReports();
        SeedRandom(7);
        ResetSaverRun();
        SaverRun().ScreenRect = SkyRect{0, 0, 800, 600};
        SaverRun().MonitorRect = SkyRect{0, 0, 800, 600};
        gfx::SetFontRasterizer(std::make_unique<gfx::testing::FakeRasterizer>());
        gfx::SetPixelsPerInch(96);
        SetClock(&clock);
        SetSkyDC(nullptr);
        ResetMessageCanvas();
        ResetTextMapping();
        ResetMessageFont();
        MailCount = 0;
    }
    void TearDown() override {
        MailCount = 0;
        ResetMessageFont();
        ResetMessageCanvas();
        ResetTextMapping();
        SetClock(nullptr);
        gfx::SetFontRasterizer(nullptr);
        ResetSaverRun();
        ResetRandomSeed();
        ResetMainIni();
    }

    static std::vector<gfx::Point> LitPixels() {
        std::vector<gfx::Point> lit;
        const MessageCanvasClass& canvas = MessageCanvas();
        for (int y = 0; y < canvas.canvasHeight; ++y)
            for (int x = 0; x < canvas.canvasWidth; ++x)
                if (canvas.IsLit(x, y)) lit.push_back({x, y});
        return lit;
    }

    std::string Log() const { return testing::ReadFile(folder.File("log.txt")); }

    testing::TempFolder folder;
    FakeClock clock{kTuesdayAfternoonMs, 0};
    RecordingSoundPlayer sounds;
};

TEST_F(ProjectionTest, KeywordsDecideTheKind) {
    const std::vector<std::pair<std::string, MessageKind>> cases = {
        {"HEART", MessageKind::Heart},
        {"heart", MessageKind::Text},
        {"HEART ", MessageKind::Text},
        {"HAPPY_FACE", MessageKind::HappyFace},
        {"PEACE", MessageKind::Peace},
        {"time+2", MessageKind::WorldTime},
        {"TIME 2.0 LDST  iLoc3 iWor7", MessageKind::WorldTime},
        {"It is TIME to go", MessageKind::Text},
        {"COUNTDOWN", MessageKind::Countdown},
        {"Countdown", MessageKind::Text},
        {"BIRTHDAY FROM 1980 5 17", MessageKind::Birthday},
        {"birthday party", MessageKind::Birthday},
        {"STAR", MessageKind::Star},
        {"STARS", MessageKind::Text},
        {"XMASTREE", MessageKind::ChristmasTree},
        {" ", MessageKind::Text},
    };
    for (const auto& [text, kind] : cases) EXPECT_EQ(KindOfMessage(text), kind) << text;
}

TEST_F(ProjectionTest, HeartLightsThePicturesPixelsShortOfItsLastColumnAndRow) {
    std::string text = "HEART";
    Project(text);
    EXPECT_EQ(MessageCanvas().canvasWidth, 65);
    EXPECT_EQ(MessageCanvas().canvasHeight, 55);

    const std::optional<gfx::Image> heart = LoadBitmapResource(kHeartPicture);
    ASSERT_TRUE(heart);
    ASSERT_EQ(heart->Width(), 66);
    ASSERT_EQ(heart->Height(), 56);
    std::vector<gfx::Point> expected;
    for (int y = 0; y < 55; ++y)
        for (int x = 0; x < 65; ++x)
            if (heart->Pixel(x, y) != 0) expected.push_back({x, y});
    EXPECT_GT(expected.size(), 500u);
    EXPECT_EQ(LitPixels(), expected);
    EXPECT_EQ(PendingErrorText(), "");
}

TEST_F(ProjectionTest, EverySymbolHasItsPictureAndCanvasSize) {
    const struct {
        const char* text;
        int width, height;
    } symbols[] = {{"HAPPY_FACE", 35, 40}, {"PEACE", 41, 31}, {"STAR", 55, 55}, {"XMASTREE", 55, 55}};
    for (const auto& s : symbols) {
        std::string text = s.text;
        Project(text);
        EXPECT_EQ(MessageCanvas().canvasWidth, s.width) << s.text;
        EXPECT_EQ(MessageCanvas().canvasHeight, s.height) << s.text;
        EXPECT_FALSE(LitPixels().empty()) << s.text;
    }
    EXPECT_EQ(PendingErrorText(), "");
}

TEST_F(ProjectionTest, TextIsMeasuredWithoutAndDrawnWithOnePixelOfSpacing) {
    std::string text = "Hi";
    Project(text);
    EXPECT_EQ(text, "Hi");
    // Two 6-pixel cells measured without the spacing, plus the margin.
    EXPECT_EQ(MessageCanvas().canvasWidth, 12 + kTextCanvasMargin);
    EXPECT_EQ(MessageCanvas().canvasHeight, 8);

    const std::vector<gfx::Point> lit = LitPixels();
    ASSERT_EQ(lit.size(), 40u);  // two 4 x 5 glyph blocks
    const SkyRect& sky = SaverRun().ScreenRect;
    for (const gfx::Point& p : lit) {
        EXPECT_GE(p.x, sky.left);
        EXPECT_LT(p.x, sky.right);
        EXPECT_GE(p.y, sky.top);
        EXPECT_LT(p.y, sky.bottom);
    }
    // The second glyph starts 7 pixels after the first: its 6-pixel advance plus 1.
    EXPECT_TRUE(MessageCanvas().IsLit(1, 1));
    EXPECT_FALSE(MessageCanvas().IsLit(7, 1));
    EXPECT_TRUE(MessageCanvas().IsLit(11, 1));
    EXPECT_EQ(MessageFont().faceName, "Courier New");
    EXPECT_EQ(MessageFont().FontSize, 12.0f);
    EXPECT_EQ(MessageFont().selected, 0);
    EXPECT_EQ(MessageCanvas().Context()->GetTextCharacterExtra(), 0);

    const std::string log = Log();
    EXPECT_NE(log.find("Project-entering: Hi"), std::string::npos);
    EXPECT_NE(log.find("Message for the stars: Hi"), std::string::npos);
}

TEST_F(ProjectionTest, EmptyMessageBecomesOneBlankThatParksEveryStar) {
    std::string text;
    Project(text);
    EXPECT_EQ(text, " ");
    EXPECT_TRUE(LitPixels().empty());
    EXPECT_EQ(PendingErrorText(), "");
    int32_t x = -1, y = -1;
    EXPECT_EQ(GetNextXY(x, y), 0);
    EXPECT_EQ(y, SaverRun().ScreenRect.bottom);
}

TEST_F(ProjectionTest, NewMailReplacesTheMessageAndRingsOnce) {
    MailCount = 3;
    std::string text = "HEART";
    Project(text);
    EXPECT_EQ(text, "You've got\nmail (3)");
    ASSERT_EQ(sounds.aliases.size(), 1u);
    EXPECT_EQ(sounds.aliases[0], "MailBeep");
    EXPECT_EQ(MessageCanvas().canvasHeight, 16);  // two lines of text, not the heart
    EXPECT_FALSE(LitPixels().empty());

    MailCount = 0;
    text = "HEART";
    Project(text);
    EXPECT_EQ(text, "HEART");
    EXPECT_EQ(sounds.aliases.size(), 1u);
}

TEST_F(ProjectionTest, WorldTimeStandsCentredOverTheDateInTwelveOrTwentyFourHours) {
    // 13:35 local + 2.5 hours = 16:05 on the same Tuesday.
    EXPECT_EQ(WorldTimeText("TIME 2.5 LDST  iLoc3 iWor7", clock), "     4:05 PM\nTue, Apr 05");
    MainIni().WriteIntForUser("params", "FormatTime24H", 1);
    EXPECT_EQ(WorldTimeText("TIME 2.5", clock), "      16:05\nTue, Apr 05");
    EXPECT_EQ(WorldTimeText("time", clock), "      13:35\nTue, Apr 05");
    EXPECT_EQ(WorldTimeText("TIME -14", clock), "      23:35\nMon, Apr 04");
    EXPECT_NE(Log().find("WorldTime diff minutes-840"), std::string::npos);
}

TEST_F(ProjectionTest, WorldTimeDifferenceFromAFriendsFileCannotBreakTheClock) {
    for (const char* text : {"TIME nan", "TIME inf", "TIME -1e30", "TIME 0x7fffffffffff", "TIMEx"}) {
        const std::string shown = WorldTimeText(text, clock);
        EXPECT_NE(shown.find('\n'), std::string::npos) << text;
        EXPECT_NE(shown.find(':'), std::string::npos) << text;
    }
    EXPECT_EQ(WorldTimeText("TIMEx", clock), WorldTimeText("TIME", clock));
}

TEST_F(ProjectionTest, AddHoursToTimeMovesWholeSecondsAcrossTheCalendar) {
    LocalTime t;
    t.year = 111;
    t.month = 11;
    t.day = 31;
    t.hour = 23;
    t.minute = 0;
    t.second = 0;
    t.millisecond = 999;
    const LocalTime moved = AddHoursToTime(t, 2.5);  // 9000 seconds
    EXPECT_EQ(moved.year, 112);
    EXPECT_EQ(moved.month, 0);
    EXPECT_EQ(moved.day, 1);
    EXPECT_EQ(moved.hour, 1);
    EXPECT_EQ(moved.minute, 30);
    EXPECT_EQ(moved.millisecond, 0);
    EXPECT_EQ(moved.weekday, 0);  // 1 January 2012 was a Sunday

    const LocalTime back = AddHoursToTime(moved, -2.5);
    EXPECT_EQ(back.year, 111);
    EXPECT_EQ(back.day, 31);
    EXPECT_EQ(back.hour, 23);
    // Truncated toward zero: a third of a second is dropped either way.
    EXPECT_EQ(AddHoursToTime(t, -1.0 / 10800).second, 0);
}

TEST_F(ProjectionTest, TimeKeepsTheFaceThePreviousTextLeft) {
    std::string text = "TIME 1";
    Project(text);
    EXPECT_EQ(MessageFont().faceName, "");  // nothing drawn before: the platform's face
    EXPECT_EQ(MessageCanvas().canvasHeight, 16);
    EXPECT_FALSE(LitPixels().empty());

    text = "COUNTDOWN";
    Project(text);
    EXPECT_EQ(MessageFont().FontSize, 10.0f);
    EXPECT_EQ(MessageFont().faceName, "Courier New");

    MessageFont().faceName = "Some Face";
    text = "TIME 1";
    Project(text);
    EXPECT_EQ(MessageFont().faceName, "Some Face");
    EXPECT_EQ(MessageFont().FontSize, 12.0f);
}

TEST_F(ProjectionTest, BirthdayCountsTheDaysInTwoLines) {
    std::string text = "BIRTHDAY FROM 1980 5 17";
    Project(text);
    EXPECT_EQ(MessageFont().FontSize, 10.0f);
    EXPECT_EQ(MessageCanvas().canvasHeight, 16);  // "Day N\nof your life"
    EXPECT_FALSE(LitPixels().empty());
    EXPECT_EQ(PendingErrorText(), "");
}

}  // namespace
}  // namespace lumi
