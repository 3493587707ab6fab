// The headless runner end to end: a scene that draws through SkyDC, a fake clock set by
// --at, the PNG it writes, and the options it refuses.
#include "shell/headless/HeadlessRun.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "common/TestSupport.h"
#include "gfx/Canvas.h"
#include "base/Clock.h"
#include "sky/SkyDC.h"
#include "media/Resources.h"
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

    // A snapshot reads the settings but keeps its books in memory.
    EXPECT_EQ(testing::ReadFile(folder.File("Lumivan.ini")), "[params]\noncepd_tpms=10\n");
}

TEST_F(HeadlessRunTest, ASnapshotLeavesTheSettingsFileByteForByteAsItWas) {
    // Not calibrated today: a real run would measure and write its timing, its day
    // markers and its bookkeeping; the snapshot does all of it in memory only.
    const std::string before = "; the user's own\r\n[params]\r\nTickProcess_mSec=17\r\nFirstTime=0\r\n";
    testing::WriteFile(folder.File("Lumivan.ini"), before);
    SnapshotOptions o = Options(64, 48, 120);
    o.hasAt = ParseAtTime("2024-03-10T12:00Z", o.at);
    ASSERT_EQ(Run(o), 0);
    // The calibration ran on the fake clock (100 extra steps), as it would in a real run.
    EXPECT_EQ(scene.steps, 119 + 100);
    EXPECT_EQ(testing::ReadFile(folder.File("Lumivan.ini")), before);
    // Nor is a missing settings file made.
    testing::TempFolder empty;
    ASSERT_EQ(RunSnapshot(o, scene, parts, {empty.Path(), "Lumivan.ini"}), 0);
    EXPECT_FALSE(std::filesystem::exists(empty.File("Lumivan.ini")));
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

// The program itself, as a user runs it: a snapshot of the sky with a flying picture chosen.
class SnapshotProgramTest : public ::testing::Test {
protected:
    // Runs lumivane --snapshot with these settings; the picture, or nullopt.
    std::optional<Png> Snapshot(const std::string& settings, const std::string& size) {
        const std::string config = folder.Path() + "config" + std::to_string(++runs);
        testing::RunCommand("mkdir -p '" + config + "/lumivane' '" + folder.Path() + "state' '" + folder.Path() +
                            "run'");
        // A second run of the day: the step-cost calibration is done already (it would add
        // 100 steps) and the tick measured at 40 ms, so 400 ticks are 16 s of flight. The
        // moment is local time, so its day is the 10th in every zone.
        testing::WriteFile(config + "/lumivane/Lumivan.ini",
                           "[params]\noncepd_tpms=10\nTickTime=40\nRealTickTime=40\n" + settings);
        const std::string png = folder.File("sky" + std::to_string(runs) + ".png");
        const testing::CommandRun run = testing::RunCommand(
            "XDG_CONFIG_HOME='" + config + "' XDG_STATE_HOME='" + folder.Path() + "state' XDG_RUNTIME_DIR='" +
            folder.Path() + "run' TMPDIR='" + folder.Path() + "' '" LUMI_BINARY_DIR "/lumivane' --snapshot '" + png +
            "' --size " + size + " --ticks 400 --seed 3 --at 2024-03-10T12:00 2>&1");
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return ReadPng(png);
    }

    // Where the whole picture stands on the sky, pixel for pixel, or nullopt.
    static std::optional<std::pair<int, int>> Find(const Png& sky, const gfx::Image& picture) {
        auto at = [&](int x, int y) {
            const uint8_t* p = &sky.rgb[(static_cast<size_t>(y) * sky.width + x) * 3];
            return gfx::Rgb(p[0], p[1], p[2]);
        };
        const int w = picture.Width() - 1, h = picture.Height() - 1;  // as the picture is copied
        const int cx = w / 2, cy = h / 2;
        for (int y = 0; y + h <= sky.height; ++y) {
            for (int x = 0; x + w <= sky.width; ++x) {
                if (at(x + cx, y + cy) != picture.Pixel(cx, cy)) continue;
                bool all = true;
                for (int j = 0; j < h && all; ++j)
                    for (int i = 0; i < w && all; ++i) all = picture.Pixel(i, j) == 0 || at(x + i, y + j) == picture.Pixel(i, j);
                if (all) return std::pair{x, y};
            }
        }
        return std::nullopt;
    }

    testing::TempFolder folder;
    int runs = 0;
};

TEST_F(SnapshotProgramTest, TheWitchCrossesTheSkyWithHerQuoteBehindHer) {
    const std::optional<gfx::Image> witch = LoadBitmapResource(118);
    ASSERT_TRUE(witch);
    const std::optional<Png> sky = Snapshot("[FPicture]\nCategory=15\n", "1280x720");
    ASSERT_TRUE(sky);
    const auto where = Find(*sky, *witch);
    ASSERT_TRUE(where);
    // Her words, in the text colour (cyan), follow on her right along her path; the
    // bottom line's text (the last 40 rows) is not counted.
    int words = 0;
    for (int y = std::max(0, where->second - 80); y < std::min(680, where->second + 200); ++y)
        for (int x = where->first + witch->Width(); x < sky->width; ++x) {
            const uint8_t* p = &sky->rgb[(static_cast<size_t>(y) * sky->width + x) * 3];
            words += p[0] == 0 && p[1] == 255 && p[2] == 255;
        }
    EXPECT_GT(words, 100);

    // Just the sky, and a sky too narrow: nothing flies.
    const std::optional<Png> plain = Snapshot("[FPicture]\nCategory=12\n", "1280x720");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(Find(*plain, *witch));
    const std::optional<Png> narrow = Snapshot("[FPicture]\nCategory=15\n", "460x720");
    ASSERT_TRUE(narrow);
    EXPECT_FALSE(Find(*narrow, *witch));
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

// Every file under folder (links included) with the mode bits others have on it.
std::vector<std::pair<std::string, unsigned>> OpenToOthers(const std::string& folder) {
    std::vector<std::pair<std::string, unsigned>> open;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat st {};
        if (lstat(entry.path().c_str(), &st) == 0 && (st.st_mode & 077) != 0 && !S_ISLNK(st.st_mode))
            open.emplace_back(entry.path().string(), st.st_mode & 0777);
    }
    return open;
}

TEST(SnapshotProgramPrivacyTest, WritesOnlyTheUsersOwnPrivateFilesWhateverIsPlantedInTheSharedFolder) {
    testing::TempFolder home, shared, out;
    // Another user got to the shared temporary folder first, with links to this user's
    // settings under every name the program once used there.
    const std::string settings = home.File(".config/lumivane/Lumivan.ini");
    std::filesystem::create_directories(home.File(".config/lumivane"));
    chmod(home.File(".config").c_str(), 0700);
    chmod(home.File(".config/lumivane").c_str(), 0700);
    const std::string settingsText = "[Messages]\nMessage___1=mine\n";
    testing::WriteFile(settings, settingsText);
    chmod(settings.c_str(), 0600);
    std::filesystem::create_directory(shared.File("Lumivan.tmp"));
    std::filesystem::create_symlink(settings, shared.File("Lumivan.tmp/Received.Lumivan"));
    std::filesystem::create_symlink(settings, shared.File("lumivane.log.txt"));
    chmod(shared.Path().c_str(), 01777);

    const testing::CommandRun run = testing::RunCommand(
        "env -u XDG_RUNTIME_DIR -u XDG_STATE_HOME -u XDG_CONFIG_HOME HOME='" + home.Path() + "' TMPDIR='" +
        shared.Path() + "' '" LUMI_BINARY_DIR "/lumivane' --snapshot '" + out.File("sky.png") +
        "' --size 64x48 --ticks 120 --at 2024-03-10T12:00Z 2>&1");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(testing::ReadFile(settings), settingsText);
    // The log is in the user's state folder, and only the user may read it.
    const std::string log = testing::ReadFile(home.File(".local/state/lumivane/lumivane.log.txt"));
    EXPECT_NE(log.find("Log Started"), std::string::npos);
    for (const auto& [path, mode] : OpenToOthers(home.Path())) ADD_FAILURE() << path << " " << std::oct << mode;
    // Nothing new in the shared folder.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(shared.Path())) ++entries;
    EXPECT_EQ(entries, 2u);
}

}  // namespace
}  // namespace lumi
