// Error reports: joining and bounding the pending text, the reports kept in section
// Debug, the one-at-a-time "PROBLEM" box and the common-dialog names.
#include "support/ErrorReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "common/TestSupport.h"
#include "base/FakeClock.h"
#include "settings/IniFile.h"
#include "base/Log.h"
#include "platform/Startup.h"
#include "sky/SkyErrors.h"
#include "gfx/Canvas.h"
#include "gfx/Surface.h"
#include "sky/SkyDC.h"

namespace lumi {
namespace {

struct Painted {
    int x;
    int y;
    std::string text;
};

class ErrorReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock(&clock_);
        RestartLogAt(folder_.File("log.txt"));
        ResetErrorReports();
        ResetMainIni();
        ASSERT_EQ(MainIni().Init("", folder_.File("Lumivan.ini")), 0);
        SetErrorTextPainter([this](int x, int y, const std::string& text) { painted_.push_back({x, y, text}); });
    }
    void TearDown() override {
        SetErrorTextPainter(nullptr);
        SetWindowDestroyer(nullptr);
        ResetErrorReports();
        ResetMainIni();
        RestartLogAt(platform::DefaultLogPath());
        SetClock(nullptr);
    }

    // 2011-04-17 05:25:19 UTC, a Sunday.
    FakeClock clock_{(15081LL * 86400 + 5 * 3600 + 25 * 60 + 19) * 1000, 0};
    testing::TempFolder folder_;
    testing::RecordingMessageBoxes boxes_;
    std::vector<Painted> painted_;

    // Read back through the store, which may keep the value in an escaped form.
    std::string Stored(const char* section, const char* key) { return MainIni().ReadString(section, key, "<missing>"); }
};

TEST_F(ErrorReportTest, AddedTextsAreJoinedByCommas) {
    EXPECT_EQ(PendingErrorText(), "");
    AddError("a");
    AddError("b");
    EXPECT_EQ(PendingErrorText(), "a , b");
}

TEST_F(ErrorReportTest, PendingTextStaysWithinItsCapacity) {
    for (int i = 0; i < 200; ++i) AddError("universe - 160");
    const std::string text = PendingErrorText();
    EXPECT_LE(text.size(), 998u);
    EXPECT_NE(text.find("*StrCat*"), std::string::npos);
}

TEST_F(ErrorReportTest, ReportsArePaintedStoredAndCleared) {
    AddError("a");
    AddError("b");
    ShowErrors();
    EXPECT_EQ(PendingErrorText(), "");
    ASSERT_EQ(painted_.size(), 1u);
    EXPECT_EQ(painted_[0].x, 2);
    EXPECT_EQ(painted_[0].y, 1);
    EXPECT_EQ(painted_[0].text, "a , b  ");
    EXPECT_EQ(Stored("Debug", "error2"), "a , b  ");
    EXPECT_EQ(Stored("Debug", "error3"), "---------END---------");
    const std::string log = testing::ReadFile(folder_.File("log.txt"));
    EXPECT_NE(log.find("05:25:19.000 info> error1: -----Start at :Sun Apr 17 05:25:19 2011\n\n"), std::string::npos)
        << log;

    AddError("c");
    ShowErrors();
    EXPECT_EQ(Stored("Debug", "error3"), "c  ");
    EXPECT_EQ(Stored("Debug", "error4"), "---------END---------");
    ASSERT_EQ(painted_.size(), 2u);
    EXPECT_EQ(painted_[1].y, 3);
    EXPECT_EQ(log.find("Start at", log.find("Start at") + 1), std::string::npos) << "only the first report";
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(ErrorReportTest, NothingPendingShowsNothing) {
    ShowErrors();
    EXPECT_TRUE(painted_.empty());
    EXPECT_EQ(Stored("Debug", "error1"), "<missing>");
}

TEST_F(ErrorReportTest, CounterWrapsAfterAThousandReports) {
    for (int i = 1; i <= 999; ++i) {
        AddError("x");
        ShowErrors();
    }
    EXPECT_EQ(Stored("Debug", "error1001"), "---------END---------");
    AddError("last");
    ShowErrors();
    EXPECT_EQ(Stored("Debug", "error1"), "last  ");
    EXPECT_EQ(Stored("Debug", "error2"), "---------END---------");
    EXPECT_EQ(painted_.back().y, 1);
    EXPECT_EQ(painted_[23].y, 0) << "every 25 reports the text returns to the top";
}

TEST_F(ErrorReportTest, FullTextIsStoredWithoutSettingsErrors) {
    AddError(std::string(998, 'x'));
    ShowErrors();
    EXPECT_TRUE(boxes_.boxes.empty()) << boxes_.boxes.front().caption;
    // All 999 stored characters come back only to a reader with room for 1001 bytes.
    EXPECT_EQ(MainIni().ReadString("Debug", "error2", "", IniFile::kValueBuffer + 1).size(), 999u);
    ASSERT_EQ(painted_.size(), 1u);
    EXPECT_EQ(painted_[0].text, std::string(998, 'x') + "  ");
}

TEST_F(ErrorReportTest, ConcurrentAddsLoseNothing) {
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([] {
            for (int i = 0; i < 50; ++i) AddError("x");
        });
    for (int i = 0; i < 100; ++i) ShowErrors();
    for (auto& w : workers) w.join();
    ShowErrors();
    size_t count = 0;
    for (const auto& p : painted_) count += static_cast<size_t>(std::count(p.text.begin(), p.text.end(), 'x'));
    EXPECT_EQ(count, 200u);
}

// A box that asks for another "PROBLEM" box while it is on screen.
class ReenteringBoxes : public testing::RecordingMessageBoxes {
public:
    BoxResult Show(WindowHandle owner, const std::string& text, const std::string& caption, BoxIcon icon,
                   BoxButtons buttons) override {
        if (boxes.empty()) InternalError(owner, 822);
        return RecordingMessageBoxes::Show(owner, text, caption, icon, buttons);
    }
};

TEST_F(ErrorReportTest, OnlyOneProblemBoxAtATime) {
    ReenteringBoxes boxes;
    int destroyed = 0;
    SetWindowDestroyer([&destroyed](WindowHandle) { ++destroyed; });
    int window = 0;
    InternalError(&window, 821, DestroyOwner::Yes);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "PROBLEM");
    EXPECT_EQ(boxes.boxes[0].text, "Internal error #821");
    EXPECT_EQ(boxes.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(destroyed, 1);

    InternalError(nullptr, 4294967295u);
    ASSERT_EQ(boxes.boxes.size(), 2u) << "the guard is released when the box closes";
    EXPECT_EQ(boxes.boxes[1].text, "Internal error #4294967295");
    EXPECT_EQ(destroyed, 1);
}

TEST_F(ErrorReportTest, OwnerIsDestroyedOnlyWhenAsked) {
    WindowHandle seen = nullptr;
    SetWindowDestroyer([&seen](WindowHandle w) { seen = w; });
    int window = 0;
    InternalError(&window, 2394, DestroyOwner::No);
    EXPECT_EQ(seen, nullptr);
    InternalError(&window, 2394, DestroyOwner::Yes);
    EXPECT_EQ(seen, &window);
    SetWindowDestroyer(nullptr);
    InternalError(&window, 2394, DestroyOwner::Yes);
    EXPECT_EQ(boxes_.boxes.size(), 3u);
}

TEST_F(ErrorReportTest, ErrorBoxHasAnErrorIcon) {
    ShowErrorBox("#9124: Inifile", "Attempt to write when not initialized");
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].caption, "#9124: Inifile");
    EXPECT_EQ(boxes_.boxes[0].text, "Attempt to write when not initialized");
    EXPECT_EQ(boxes_.boxes[0].icon, BoxIcon::Error);
}

TEST_F(ErrorReportTest, CommonDialogErrorsAreLoggedByName) {
    EXPECT_STREQ(CommDlgErrorName(1), "CDERR_STRUCTSIZE");
    EXPECT_STREQ(CommDlgErrorName(11), "CDERR_NOHOOK");
    EXPECT_STREQ(CommDlgErrorName(0x3003), "FNERR_BUFFERTOOSMALL");
    EXPECT_STREQ(CommDlgErrorName(12), "UNKNOWN");
    EXPECT_STREQ(CommDlgErrorName(0x3004), "UNKNOWN");
    LogCommDlgError(0);
    EXPECT_EQ(testing::ReadLines(folder_.File("log.txt")).back(), "05:25:19.000 info> CommDlgError: UNKNOWN");
}

// Where the text of the sky's canvas lands: the smallest x and y that are not black.
struct LitCorner {
    int x = -1, y = -1;
};
LitCorner FirstLit(const gfx::Surface& surface) {
    LitCorner c;
    const std::vector<uint32_t> pixels = surface.ReadPixels();
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (pixels[static_cast<size_t>(y) * surface.Width() + x] != 0) {
                if (c.y < 0) c.y = y;
                if (c.x < 0 || x < c.x) c.x = x;
            }
    return c;
}

TEST_F(ErrorReportTest, TheSkysPainterWritesTheReportAtTwoAndTheCounterModulo25) {
    std::shared_ptr<gfx::Surface> surface = gfx::Surface::Create(400, 60, gfx::DirtyTracking::Off);
    gfx::Canvas canvas(surface);
    InstallSkyErrorPainter();
    // Before the saver window has its context, nothing is drawn (and nothing fails).
    AddError("universe - 160");
    ShowErrors();
    SetSkyDC(&canvas);
    for (int report = 2; report <= 26; ++report) {
        canvas.FillRect({0, 0, 400, 60}, gfx::Brush::Black());
        AddError("universe - 160");
        ShowErrors();
        // The context's own colours: black text on an opaque white cell from (2, y).
        const LitCorner lit = FirstLit(*surface);
        // The first report of a run takes two numbers (its start line and itself).
        const int counter = report + 1;
        EXPECT_EQ(lit.x, 2) << report;
        EXPECT_EQ(lit.y, counter % 25) << report;
    }
    SetSkyDC(nullptr);
}

}  // namespace
}  // namespace lumi
