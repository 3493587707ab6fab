// The headless runner end to end: a scene that draws through SkyDC, a fake clock set by
// --at, the PNG it writes, and the options it refuses.
#include "shell/headless/HeadlessRun.h"

#include <gtest/gtest.h>
#include <png.h>

#include <optional>
#include <vector>

#include "common/TestSupport.h"
#include "gfx/Canvas.h"
#include "base/Clock.h"
#include "sky/SkyDC.h"
#include "settings/IniFile.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

// A black sky that lights one pixel per step, walking right along the top row, and
// remembers what it saw of the clock and the random sequence.
class CountingScene : public SkyScene {
public:
    void Create() override {
        ++creates;
        createdAt = TheClock().UtcNow();
        firstRandom = RandomRange(0, 1000000);
        hadSkyDC = SkyDC() != nullptr;
    }
    void Step() override {
        if (gfx::Canvas* dc = SkyDC()) dc->SetPixel(steps, 0, gfx::Rgb(255, 255, 255));
        ++steps;
    }
    void Destroy() override { ++destroys; }

    int creates = 0, steps = 0, destroys = 0;
    int64_t createdAt = 0;
    int firstRandom = 0;
    bool hadSkyDC = false;
};

class CornerParts : public SaverParts {
public:
    int MouseInCorner(WindowHandle) override { return corner; }
    int corner = 0;
};

struct Png {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    bool Lit(int x, int y) const { return rgb[(static_cast<size_t>(y) * width + x) * 3] != 0; }
};

std::optional<Png> ReadPng(const std::string& path) {
    const std::string bytes = testing::ReadFile(path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    Png png;
    png.width = static_cast<int>(image.width);
    png.height = static_cast<int>(image.height);
    png.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, png.rgb.data(), 0, nullptr)) return std::nullopt;
    return png;
}

class HeadlessRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestartLogAt(folder.File("run.log.txt"));
        ResetMainIni();
        ResetSaverRun();
    }
    void TearDown() override {
        ResetMainIni();
        ResetRandomSeed();
    }
    SnapshotOptions Options(int width, int height, long ticks) {
        SnapshotOptions o;
        o.file = folder.File("sky.png");
        o.width = width;
        o.height = height;
        o.ticks = ticks;
        return o;
    }
    int Run(const SnapshotOptions& o) { return RunSnapshot(o, scene, parts, {folder.Path(), "Lumivan.ini"}); }

    testing::TempFolder folder;
    testing::RecordingMessageBoxes boxes;
    CountingScene scene;
    CornerParts parts;
};

TEST_F(HeadlessRunTest, WritesTheSkyAfterTheTicksAndClosesTheRun) {
    // The day's step-cost calibration is done already; it would add 100 steps. The run
    // starts at noon of the 10th in the machine's own zone, so "today" is the 10th for
    // the run and for this marker whatever the zone (noon UTC is the 11th in Kiritimati).
    testing::WriteFile(folder.File("Lumivan.ini"), "[params]\noncepd_tpms=10\n");
    SnapshotOptions o = Options(320, 200, 6);
    o.hasAt = ParseAtTime("2024-03-10T12:00", o.at);
    ASSERT_EQ(Run(o), 0);
    // The first tick builds the scene, each later one steps it; the close tears it down.
    EXPECT_EQ(scene.creates, 1);
    EXPECT_EQ(scene.steps, 5);
    EXPECT_EQ(scene.destroys, 1);
    EXPECT_TRUE(scene.hadSkyDC);
    EXPECT_EQ(SkyDC(), nullptr);

    const std::optional<Png> png = ReadPng(folder.File("sky.png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 320);
    EXPECT_EQ(png->height, 200);
    for (int x = 0; x < 5; ++x) EXPECT_TRUE(png->Lit(x, 0)) << x;
    EXPECT_FALSE(png->Lit(5, 0));
    EXPECT_FALSE(png->Lit(0, 1));

    // The run kept its books in the settings folder it was given, as a real one does.
    const std::string ini = testing::ReadFile(folder.File("Lumivan.ini"));
    EXPECT_NE(ini.find("Version=" LUMI_VERSION), std::string::npos) << ini;
}

TEST_F(HeadlessRunTest, TheClockStartsAtTheGivenTimeAndTheSeedFixesTheSky) {
    SnapshotOptions o = Options(64, 48, 1);
    o.hasAt = ParseAtTime("2024-04-23T23:49Z", o.at);
    o.hasSeed = true;
    o.seed = 7;
    ASSERT_EQ(Run(o), 0);
    // The first tick comes one timer period (at most 70 ms) after the start.
    EXPECT_EQ(scene.createdAt, 1713916140);
    const int first = scene.firstRandom;

    CountingScene again;
    ASSERT_EQ(RunSnapshot(o, again, parts, {folder.Path(), "Lumivan.ini"}), 0);
    EXPECT_EQ(again.firstRandom, first);
}

TEST_F(HeadlessRunTest, AHotCornerStopsTheRunButThePictureIsStillWritten) {
    parts.corner = 2;
    ASSERT_EQ(Run(Options(32, 32, 50)), 0);
    EXPECT_EQ(scene.creates, 0);
    EXPECT_EQ(scene.destroys, 0);
    EXPECT_TRUE(ReadPng(folder.File("sky.png")));
}

TEST_F(HeadlessRunTest, RefusesWhatItCannotHonour) {
    EXPECT_EQ(Run(Options(0, 200, 5)), 2);
    EXPECT_EQ(Run(Options(320, SnapshotOptions::kMaxSide + 1, 5)), 2);
    EXPECT_EQ(Run(Options(320, 200, -1)), 2);
    EXPECT_EQ(Run(Options(320, 200, SnapshotOptions::kMaxTicks + 1)), 2);
    SnapshotOptions beyond = Options(32, 32, 1);
    beyond.hasAt = ParseAtTime("2040-01-01T00:00Z", beyond.at);
    EXPECT_EQ(Run(beyond), 2);
    EXPECT_EQ(scene.creates, 0);
    EXPECT_FALSE(ReadPng(folder.File("sky.png")));

    // A folder that does not exist: the run happens, the write fails, and says so.
    SnapshotOptions nowhere = Options(32, 32, 2);
    nowhere.file = folder.File("missing/sky.png");
    EXPECT_EQ(Run(nowhere), 1);
}

TEST(HeadlessCommandLine, BadSizesAndTickCountsNeverReachTheRunner) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"lumivane", "--snapshot", "a.png", "--size", "320"},
             {"lumivane", "--snapshot", "a.png", "--size", "320x0"},
             {"lumivane", "--snapshot", "a.png", "--size", "-320x200"},
             {"lumivane", "--snapshot", "a.png", "--ticks", "ten"},
             {"lumivane", "--snapshot", "a.png", "--ticks", "-5"}}) {
        const CommandLine c = ParseCommandLine(args, Dialect::Linux, nullptr, PasswordMode::System, {});
        EXPECT_EQ(c.mode, RunMode::Error) << args[3] << " " << args[4];
        EXPECT_EQ(c.exitCode, 2);
    }
    const CommandLine good = ParseCommandLine({"lumivane", "--snapshot", "a.png", "--size", "320x200", "--ticks", "4"},
                                              Dialect::Linux, nullptr, PasswordMode::System, {});
    ASSERT_EQ(good.mode, RunMode::Snapshot);
    EXPECT_EQ(good.snapshot.width, 320);
    EXPECT_EQ(good.snapshot.ticks, 4);
}

}  // namespace
}  // namespace lumi
