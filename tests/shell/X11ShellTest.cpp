// The built program on a virtual X display, driven as a user drives it: a plain window
// closed with Escape, the full-screen saver over the whole screen closed at once by a key,
// a click or a mouse move past its threshold, a second full-screen start, a preview whose
// window goes away, and the switches that are refused.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "common/TestSupport.h"
#include "platform/IniText.h"
#include "platform/x11/XSupport.h"
#include "scene/SceneTestSupport.h"
#include "scene/Universe.h"
#include "base/Random.h"

namespace lumi {
namespace {

const std::string kProgram = LUMI_BINARY_DIR "/lumivane";

bool Installed(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell script on a fresh virtual display of its own, with the settings and the
// log in a temporary folder. $L is the program.
// serverOptions go to the X server (e.g. "-extension MIT-SHM").
testing::CommandRun OnVirtualDisplay(const std::string& script, const testing::TempFolder& tmp,
                                     const std::string& serverOptions = "") {
    const std::string file = tmp.File("script.sh");
    testing::WriteFile(file, "set -u\nL='" + kProgram + "'\n" + script);
    const std::string command = "cd '" + tmp.Path() + "' && XDG_CONFIG_HOME='" + tmp.Path() + "' TMPDIR='" +
                                tmp.Path() + "' XDG_STATE_HOME='" + tmp.Path() + "' XDG_RUNTIME_DIR='" + tmp.Path() +
                                "' XVFB_OPTIONS='" + serverOptions + "' timeout 60 '" + LUMI_SOURCE_DIR +
                                "/tools/with-xvfb.sh' 640x480x24 sh '" + file + "' 2>&1";
    return testing::RunCommand(command);
}

// Waits up to about 3 seconds for process $1 to end and prints "rc=<code>", or
// "running" when it did not.
const char kWaitFor[] =
    "wait_for() { i=0; while kill -0 \"$1\" 2>/dev/null && [ $i -lt 30 ]; do sleep 0.1; i=$((i+1)); done;\n"
    "  if kill -0 \"$1\" 2>/dev/null; then echo running; kill \"$1\"; wait \"$1\"; else wait \"$1\"; echo rc=$?; fi; }\n";

// start_saver: a full-screen saver with the shortest timer period, once its window shows.
// past_grace: waits until its first 66 ticks, in which mouse moves are ignored, are over.
// ends <label>: waits up to 3 seconds for it to end and prints "<label> rc=<code>
// ms=<time taken>", or "<label> running".
const char kFullScreen[] =
    "mkdir -p lumivane && printf '[params]\\nTickTime=20\\n' > lumivane/Lumivan.ini\n"
    "now_ms() { echo $(( $(date +%s%N) / 1000000 )); }\n"
    "start_saver() { \"$L\" /s & P=$!; i=0;\n"
    "  until xwininfo -root -tree | grep -q '\"Screen Saver\"' || [ $i -ge 100 ]; do sleep 0.05; i=$((i+1)); done; }\n"
    "past_grace() { sleep 2.5; }\n"
    "ends() { t0=$(now_ms); while kill -0 $P 2>/dev/null && [ $(( $(now_ms) - t0 )) -lt 3000 ]; do sleep 0.02; done;\n"
    "  if kill -0 $P 2>/dev/null; then echo \"$1 running\"; kill $P; wait $P;\n"
    "  else t1=$(now_ms); wait $P; echo \"$1 rc=$? ms=$(( t1 - t0 ))\"; fi; }\n";

// The time "<label> rc=0 ms=<n>" reports, or -1 when the saver did not end with 0.
long EndedWithZeroAfterMs(const std::string& output, const std::string& label) {
    const std::string mark = label + " rc=0 ms=";
    const size_t at = output.find(mark);
    if (at == std::string::npos) return -1;
    return std::strtol(output.c_str() + at + mark.size(), nullptr, 10);
}

// Ending within a second of the input, as a user expects; the wait loop itself adds a
// few tens of milliseconds.
constexpr long kPromptMs = 1000;

class X11ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Installed("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
        if (!Installed("xdotool")) GTEST_SKIP() << "xdotool is not installed";
        ASSERT_EQ(access(kProgram.c_str(), X_OK), 0) << kProgram << " is not built";
    }
    testing::TempFolder tmp;
};

TEST_F(X11ShellTest, APlainWindowHasItsSizeAndClosesOnEscape) {
    const testing::CommandRun run = OnVirtualDisplay(std::string(kWaitFor) +
                                               "\"$L\" -window -geometry 320x240 & P=$!\n"
                                               "sleep 1.2\n"
                                               "W=$(xdotool search --class lumivane | head -1)\n"
                                               "xdotool getwindowgeometry \"$W\"\n"
                                               "xdotool mousemove 20 20 key Escape\n"
                                               "wait_for $P\n",
                                           tmp);
    EXPECT_NE(run.output.find("Geometry: 320x240"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
}

TEST_F(X11ShellTest, TheFullScreenSaverCoversTheScreenRunsOnceAndAKeyEndsIt) {
    const testing::CommandRun run = OnVirtualDisplay(std::string(kFullScreen) +
                                               "start_saver\n"
                                               "xwininfo -root -tree | grep '\"Screen Saver\"'\n"
                                               "t=$(now_ms)\n"
                                               "\"$L\" /s; echo second=$? took=$(( $(now_ms) - t ))\n"
                                               "xwininfo -root -tree | grep -c '\"Screen Saver\"'\n"
                                               "past_grace\n"
                                               "xdotool key a\n"
                                               "ends key\n"
                                               "xprop -root _LUMIVANE_FULL_SCREEN\n",
                                           tmp);
    EXPECT_NE(run.output.find("640x480+0+0"), std::string::npos) << "the whole screen expected: " << run.output;
    EXPECT_NE(run.output.find("second=0"), std::string::npos) << run.output;
    const size_t took = run.output.find("took=");
    ASSERT_NE(took, std::string::npos) << run.output;
    EXPECT_LT(std::strtol(run.output.c_str() + took + 5, nullptr, 10), 2000) << "the second start must leave at once";
    EXPECT_NE(run.output.find("\n1\n"), std::string::npos) << "one saver window expected: " << run.output;
    const long ms = EndedWithZeroAfterMs(run.output, "key");
    EXPECT_GE(ms, 0) << run.output;
    EXPECT_LT(ms, kPromptMs) << run.output;
    // The mark of the running saver goes with it.
    EXPECT_EQ(run.output.find("_LUMIVANE_FULL_SCREEN(WINDOW)"), std::string::npos) << run.output;
}

TEST_F(X11ShellTest, AMouseClickEndsTheFullScreenSaver) {
    const testing::CommandRun run = OnVirtualDisplay(std::string(kFullScreen) +
                                               "start_saver\n"
                                               "past_grace\n"
                                               "xdotool click 1\n"
                                               "ends click\n",
                                           tmp);
    const long ms = EndedWithZeroAfterMs(run.output, "click");
    EXPECT_GE(ms, 0) << run.output;
    EXPECT_LT(ms, kPromptMs) << run.output;
}

TEST_F(X11ShellTest, AMouseMoveEndsTheRunOnlyBeyondFourPixelsAfterTheGraceTicks) {
    const testing::CommandRun run = OnVirtualDisplay(std::string(kFullScreen) +
                                               "start_saver\n"
                                               // The window shows before the run has read the
                                               // cursor's start; a slow (sanitizer) start would
                                               // take it in the middle of the early move.
                                               "sleep 0.5\n"
                                               "eval $(xdotool getmouselocation --shell)\n"
                                               "xdotool mousemove $((X+40)) $((Y+40)); sleep 0.2; xdotool mousemove $X $Y\n"
                                               "sleep 0.3; kill -0 $P && echo alive-after-grace-move\n"
                                               "past_grace\n"
                                               "xdotool mousemove $((X+3)) $((Y+1)); sleep 0.6\n"
                                               "kill -0 $P && echo alive-after-4\n"
                                               "xdotool mousemove $((X+3)) $((Y+2))\n"
                                               "ends move5\n",
                                           tmp);
    // The early, large move fell in the grace ticks; the 4-pixel one is within the threshold.
    EXPECT_NE(run.output.find("alive-after-grace-move"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("alive-after-4"), std::string::npos) << run.output;
    const long ms = EndedWithZeroAfterMs(run.output, "move5");
    EXPECT_GE(ms, 0) << run.output;
    EXPECT_LT(ms, kPromptMs) << run.output;
}

TEST_F(X11ShellTest, APreviewEndsWhenItsWindowIsDestroyedAndBadSwitchesExitWithMinusOne) {
    const testing::CommandRun run = OnVirtualDisplay(std::string(kWaitFor) +
                                               "\"$L\" -window -geometry 200x150 & H=$!\n"
                                               "sleep 1\n"
                                               "W=$(xdotool search --class lumivane | head -1)\n"
                                               "\"$L\" -window-id \"$W\" & P=$!\n"
                                               "sleep 1\n"
                                               "xdotool mousemove 20 20 click 1\n"
                                               "sleep 0.3; kill -0 $P && echo preview-alive-after-click\n"
                                               "kill $H; wait $H\n"
                                               "wait_for $P\n"
                                               "\"$L\" /p 12; echo no-window=$?\n"
                                               "\"$L\" /p; echo no-number=$?\n"
                                               "\"$L\" /x; echo unknown=$?\n",
                                           tmp);
    EXPECT_NE(run.output.find("preview-alive-after-click"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    // A preview with no window to draw into, and switches that are no mode, exit with -1.
    EXPECT_NE(run.output.find("no-window=255"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("no-number=255"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("unknown=255"), std::string::npos) << run.output;
}

TEST_F(X11ShellTest, AMessageFileAtAPathWithBlanksAndParenthesesIsReceivedAndShownFirst) {
    const testing::CommandRun run = OnVirtualDisplay(
        std::string(kFullScreen) +
            "mkdir -p 'My Files'\n"
            "printf '[MessageIN]\\nMessage___0=from afar\\nBottomLine0=with blanks\\n' > 'My Files/NewMessage (1).Lumivan'\n"
            "\"$L\" /s \"$PWD/My Files/NewMessage (1).Lumivan\" & P=$!; i=0\n"
            "until xwininfo -root -tree | grep -q '\"Screen Saver\"' || [ $i -ge 100 ]; do sleep 0.05; i=$((i+1)); done\n"
            "sleep 0.5\n"
            "xdotool key a\n"
            "ends key\n",
        tmp);
    EXPECT_GE(EndedWithZeroAfterMs(run.output, "key"), 0) << run.output;
    const std::string ini = testing::ReadFile(tmp.File("lumivane/Lumivan.ini"));
    const std::optional<std::string> preview = IniLookup(ini, "Messages", "Preview");
    ASSERT_TRUE(preview) << ini;
    EXPECT_EQ(IniLookup(ini, "Messages", "Message___" + *preview), "from afar") << ini;
    EXPECT_EQ(IniLookup(ini, "Messages", "BottomLine" + *preview), "with blanks") << ini;
    // The log went to the state folder it was given, closed to others.
    EXPECT_NE(testing::ReadFile(tmp.File("lumivane/lumivane.log.txt")).find("ReceiveMessage"), std::string::npos);
}

// SDL's disk driver stands in for the sound card: the chosen mood sound is heard while
// the sky runs, and silence is silence (no device is even opened for it).
TEST_F(X11ShellTest, TheChosenBackgroundSoundIsHeardAndSilenceIsNot) {
    const testing::CommandRun run = OnVirtualDisplay(
        "mkdir -p lumivane\n"
        "run() { printf '[Sound]\\nSound=%s\\nPlayContinuously=1\\n' \"$1\" > lumivane/Lumivan.ini\n"
        "  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=\"$PWD/out$1.raw\" \"$L\" -window -geometry 320x240 & P=$!\n"
        "  sleep 3; kill $P; wait $P; echo \"sound $1 rc=$?\"; }\n"
        "run 124\nrun 105\n",
        tmp);
    EXPECT_NE(run.output.find("sound 124 rc=0"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("sound 105 rc=0"), std::string::npos) << run.output;
    // 16-bit stereo: the left channel's loudness.
    auto rms = [](const std::string& bytes) {
        double sum = 0;
        size_t n = 0;
        for (size_t i = 0; i + 3 < bytes.size(); i += 4, ++n) {
            const int16_t v = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
            sum += double(v) * v;
        }
        return n ? std::sqrt(sum / n) : 0.0;
    };
    const std::string lullaby = testing::ReadFile(tmp.File("out124.raw"));
    EXPECT_GT(lullaby.size(), 22050u * 4) << "less than a second of sound";
    EXPECT_GT(rms(lullaby), 500.0);
    EXPECT_EQ(rms(testing::ReadFile(tmp.File("out105.raw"))), 0.0);
}

// A screen dump written by xwd (32 bits a pixel): the pixel at x, y as 0x00RRGGBB.
class ScreenDump {
public:
    explicit ScreenDump(std::string bytes) : bytes_(std::move(bytes)) {}
    bool Valid() const {
        return bytes_.size() >= 100 && Field(11) == 32 && Offset() + Field(12) * Field(5) <= bytes_.size();
    }
    int Width() const { return static_cast<int>(Field(4)); }
    int Height() const { return static_cast<int>(Field(5)); }
    uint32_t Pixel(int x, int y) const {
        const size_t at = Offset() + static_cast<size_t>(y) * Field(12) + static_cast<size_t>(x) * 4;
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const auto byte = static_cast<uint32_t>(static_cast<unsigned char>(bytes_[at + static_cast<size_t>(i)]));
            v |= Field(7) == 0 ? byte << (8 * i) : byte << (8 * (3 - i));  // LSB first, or MSB first
        }
        return v & 0xFFFFFFu;
    }
    // Pixels of this colour inside the rectangle.
    int Count(uint32_t colour, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += Pixel(x, y) == colour;
        return n;
    }
    int NotBlack() const { return Width() * Height() - Count(0, 0, 0, Width(), Height()); }

private:
    // The header's fields are big-endian 32-bit numbers; the colour map (12 bytes an entry)
    // follows it, then the pixels.
    size_t Field(int i) const {
        size_t v = 0;
        for (int b = 0; b < 4; ++b) v = (v << 8) | static_cast<unsigned char>(bytes_[static_cast<size_t>(i) * 4 + b]);
        return v;
    }
    size_t Offset() const { return Field(0) + Field(19) * 12; }
    std::string bytes_;
};

// Runs `lumivane -root OPTIONS` for three seconds and dumps the screen; the log names the
// way it presented.
const char kRootRun[] =
    "\"$L\" -root $OPTIONS & P=$!\n"
    "sleep 3\n"
    "xwd -root -silent > shot.xwd\n"
    "kill $P; wait $P; echo rc=$?\n"
    "grep -o 'Presenter.*' \"$XDG_STATE_HOME/lumivane/lumivane.log.txt\"\n";

TEST_F(X11ShellTest, TheSkyReachesTheScreenThroughSharedMemoryOrWithoutIt) {
    if (!Installed("xwd")) GTEST_SKIP() << "xwd is not installed";
    const uint32_t kYellow = 0xFFFF00;
    // The -fps box sits 8 pixels from the left and bottom edges of the 640 x 480 screen.
    const int boxLeft = 8, boxTop = 480 - 8 - 40, boxRight = 8 + 130, boxBottom = 480 - 8;
    {
        const testing::CommandRun run = OnVirtualDisplay(std::string("OPTIONS=\n") + kRootRun, tmp);
        EXPECT_NE(run.output.find("XShmPutImage"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
        const ScreenDump shot(testing::ReadFile(tmp.File("shot.xwd")));
        ASSERT_TRUE(shot.Valid()) << run.output;
        EXPECT_GT(shot.NotBlack(), 200) << "stars expected";
        EXPECT_EQ(shot.Count(kYellow, boxLeft, boxTop, boxRight, boxBottom), 0) << "no -fps, no figures";
    }
    {
        const testing::CommandRun run =
            OnVirtualDisplay(std::string("OPTIONS=-fps\n") + kRootRun, tmp, "-extension MIT-SHM");
        EXPECT_NE(run.output.find("XPutImage"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("XShmPutImage"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
        const ScreenDump shot(testing::ReadFile(tmp.File("shot.xwd")));
        ASSERT_TRUE(shot.Valid()) << run.output;
        EXPECT_GT(shot.NotBlack(), 200) << "stars expected";
        EXPECT_GT(shot.Count(kYellow, boxLeft, boxTop, boxRight, boxBottom), 20) << "the figures expected";
    }
}

TEST_F(X11ShellTest, AnUnmappedWindowIsSentNothingUntilItShowsAgain) {
    const testing::CommandRun run = OnVirtualDisplay(std::string(kWaitFor) +
                                                         "\"$L\" -window -geometry 320x240 & P=$!\n"
                                                         "sleep 1.2\n"
                                                         "W=$(xdotool search --class lumivane | head -1)\n"
                                                         "xdotool windowunmap \"$W\"; sleep 0.5\n"
                                                         "xdotool windowmap \"$W\"; sleep 0.5\n"
                                                         "kill $P; wait_for $P\n"
                                                         "grep -o 'Presenter: window.*' \"$XDG_STATE_HOME/lumivane/lumivane.log.txt\"\n",
                                                     tmp);
    const size_t hidden = run.output.find("window hidden");
    ASSERT_NE(hidden, std::string::npos) << run.output;
    EXPECT_NE(run.output.find("window shown", hidden), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
}

// The sky's presenter on a private Xvfb, in this process: a seeded sky is stepped tick by
// tick with the bottom line scrolling while the message stars fly over it, and after the
// presents the window must show exactly the raster, with shared memory and without.
class X11PresenterTest : public testing::SkySceneTest {
protected:
    void SetUp() override {
        SkySceneTest::SetUp();
        if (HasFatalFailure()) return;
        if (!Installed("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
    }
    void TearDown() override {
        SetSkyDC(nullptr);
        canvas.reset();
        presenter_.reset();
        if (x_) XCloseDisplay(x_);
        x_ = nullptr;
        server_.reset();
        SkySceneTest::TearDown();
    }

    // A server of its own (with these extra options) and a mapped window of the sky's size.
    void OpenDisplay(bool sharedMemory) {
        server_ = std::make_unique<testing::PrivateXvfb>(
            "800x600x24", sharedMemory ? std::vector<std::string>{} : std::vector<std::string>{"-extension", "MIT-SHM"});
        ASSERT_FALSE(server_->Display().empty()) << "Xvfb did not start";
        x_ = XOpenDisplay(server_->Display().c_str());
        ASSERT_NE(x_, nullptr);
        x11::InstallErrorHandler();
        const int screen = DefaultScreen(x_);
        XSetWindowAttributes attributes{};
        attributes.background_pixel = BlackPixel(x_, screen);
        attributes.event_mask = ExposureMask | StructureNotifyMask;
        window_ = XCreateWindow(x_, RootWindow(x_, screen), 0, 0, kWidth, kHeight, 0, CopyFromParent, InputOutput,
                                CopyFromParent, CWBackPixel | CWEventMask, &attributes);
        XMapWindow(x_, window_);
        XEvent event;
        XWindowEvent(x_, window_, StructureNotifyMask, &event);
        while (event.type != MapNotify) XWindowEvent(x_, window_, StructureNotifyMask, &event);
        presenter_ = x11::Presenter::Create(x_, window_, DefaultVisual(x_, screen), DefaultDepth(x_, screen), kWidth,
                                            kHeight);
        ASSERT_NE(presenter_, nullptr);
        ASSERT_EQ(presenter_->UsesSharedMemory(), sharedMemory);
        // The sky draws straight into the presenter's raster.
        SetSkyDC(nullptr);
        surface = presenter_->Surface();
        canvas = std::make_unique<gfx::Canvas>(surface);
        SetSkyDC(canvas.get());
        SaverRun().ScreenRect = {0, 0, kWidth, kHeight};
        SaverRun().MonitorRect = {0, 0, kWidth, kHeight};
        SaverRun().RealTickTime = 40;
    }

    // Takes the server's events as the shell's loop does.
    void TakeEvents() {
        while (XPending(x_) > 0) {
            XEvent event;
            XNextEvent(x_, &event);
            if (presenter_->HandleEvent(event)) continue;
            if (event.type == Expose && event.xexpose.window == window_ && event.xexpose.count == 0)
                presenter_->PresentAll();
        }
    }

    // Pixels inside `within` where the window differs from the raster.
    long Differing(const gfx::Rect& within) {
        XSync(x_, False);
        XImage* image = XGetImage(x_, window_, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (!image) return -1;
        long differing = 0;
        for (int y = within.top; y < within.bottom; ++y)
            for (int x = within.left; x < within.right; ++x) {
                const uint32_t shown = XGetPixel(image, x, y) & 0xFFFFFFu;
                if (shown == surface->Row(y)[x]) continue;
                if (++differing <= 3)
                    ADD_FAILURE() << "(" << x << "," << y << ") shows " << std::hex << shown << " for "
                                  << surface->Row(y)[x] << std::dec;
            }
        XDestroyImage(image);
        return differing;
    }

    // Steps and presents the sky, keeping the bottom line scrolling during the flight; every
    // tenth tick the part of the window outside `covered` is checked.
    void RunTicks(Universe& universe, int ticks, const gfx::Rect& covered = {}) {
        for (int tick = 0; tick < ticks; ++tick) {
            presenter_->WaitForServer();
            StepFlags().glyphMoved = false;
            universe.Step();
            presenter_->PresentDirty();
            XFlush(x_);
            TakeEvents();
            if (tick % 10 != 9) continue;
            // What the server reported after the last move is sent at the next present, as
            // the shell's next pass of its loop does.
            XSync(x_, False);
            TakeEvents();
            presenter_->PresentDirty();
            const gfx::Rect whole{0, 0, kWidth, kHeight};
            long differing = 0;
            if (covered.IsEmpty()) {
                differing = Differing(whole);
            } else {
                // The rows above, below, left and right of the covered block.
                differing = Differing({0, 0, kWidth, covered.top}) + Differing({0, covered.bottom, kWidth, kHeight}) +
                            Differing({0, covered.top, covered.left, covered.bottom}) +
                            Differing({covered.right, covered.top, kWidth, covered.bottom});
            }
            ASSERT_EQ(differing, 0) << "after tick " << universe.BottomLine().scrollOffset / 2;
        }
    }

    void ShowsTheRasterThroughout() {
        SeedRandom(21);
        StoreMessage(0, "HELLO", "a bottom line long enough to scroll over the whole window");
        Universe universe;
        universe.Create();
        presenter_->PresentAll();
        RunTicks(universe, 300);
        // A window over the middle of the band: what the moves take from under it must
        // be sent again, and the rest of the window stays right.
        const int bandTop = universe.BottomLine().tBmp.y;
        const gfx::Rect covered{300, bandTop - 4, 420, kHeight};
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.background_pixel = WhitePixel(x_, DefaultScreen(x_));
        const Window cover =
            XCreateWindow(x_, DefaultRootWindow(x_), covered.left, covered.top, static_cast<unsigned>(covered.Width()),
                          static_cast<unsigned>(covered.Height()), 0, CopyFromParent, InputOutput, CopyFromParent,
                          CWOverrideRedirect | CWBackPixel, &attributes);
        XMapRaised(x_, cover);
        XSync(x_, False);
        RunTicks(universe, 100, covered);
        XDestroyWindow(x_, cover);
        XSync(x_, False);
        RunTicks(universe, 100);
        universe.Destroy();
    }

    static constexpr int kWidth = 640;
    static constexpr int kHeight = 360;
    std::unique_ptr<testing::PrivateXvfb> server_;
    Display* x_ = nullptr;
    Window window_ = 0;
    std::unique_ptr<x11::Presenter> presenter_;
};

TEST_F(X11PresenterTest, TheWindowShowsTheRasterWithSharedMemory) {
    OpenDisplay(true);
    if (HasFatalFailure()) return;
    ShowsTheRasterThroughout();
}

TEST_F(X11PresenterTest, TheWindowShowsTheRasterWithoutSharedMemory) {
    OpenDisplay(false);
    if (HasFatalFailure()) return;
    ShowsTheRasterThroughout();
}

TEST(X11ShellWithoutDisplay, SaysSoAndExitsWithOne) {
    testing::TempFolder tmp;
    const std::string command = "env -u DISPLAY TMPDIR='" + tmp.Path() + "' XDG_CONFIG_HOME='" + tmp.Path() +
                                "' '" + kProgram + "' -window 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;
    EXPECT_NE(output.find("cannot open the X display"), std::string::npos) << output;
}

}  // namespace
}  // namespace lumi
