// The built program on a virtual X display, driven as a user drives it: a plain window
// closed with Escape, the full-screen saver closed by a key or a mouse move past its
// threshold, a second full-screen start, and a preview whose window goes away.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/TestSupport.h"

namespace lumi {
namespace {

const std::string kProgram = LUMI_BINARY_DIR "/lumivane";

bool Installed(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

struct ScriptRun {
    int exitCode = -1;
    std::string output;
};

// Runs a shell script on a fresh virtual display of its own, with the settings and the
// log in a temporary folder. $L is the program.
ScriptRun OnVirtualDisplay(const std::string& script, const testing::TempFolder& tmp) {
    const std::string file = tmp.File("script.sh");
    testing::WriteFile(file, "set -u\nL='" + kProgram + "'\n" + script);
    const std::string command = "cd '" + tmp.Path() + "' && XDG_CONFIG_HOME='" + tmp.Path() + "' TMPDIR='" +
                                tmp.Path() + "' timeout 60 xvfb-run -a -s '-screen 0 640x480x24' sh '" + file +
                                "' 2>&1";
    ScriptRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Waits up to about 3 seconds for process $1 to end and prints "rc=<code>", or
// "running" when it did not.
const char kWaitFor[] =
    "wait_for() { i=0; while kill -0 \"$1\" 2>/dev/null && [ $i -lt 30 ]; do sleep 0.1; i=$((i+1)); done;\n"
    "  if kill -0 \"$1\" 2>/dev/null; then echo running; kill \"$1\"; wait \"$1\"; else wait \"$1\"; echo rc=$?; fi; }\n";

class X11ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Installed("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
        if (!Installed("xdotool")) GTEST_SKIP() << "xdotool is not installed";
        ASSERT_EQ(access(kProgram.c_str(), X_OK), 0) << kProgram << " is not built";
    }
    testing::TempFolder tmp;
};

TEST_F(X11ShellTest, APlainWindowHasItsSizeAndClosesOnEscape) {
    const ScriptRun run = OnVirtualDisplay(std::string(kWaitFor) +
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

TEST_F(X11ShellTest, OneFullScreenSaverAtATimeAndAKeyEndsIt) {
    const ScriptRun run = OnVirtualDisplay(std::string(kWaitFor) +
                                               "\"$L\" /s & P=$!\n"
                                               "sleep 1\n"
                                               "start=$(date +%s)\n"
                                               "\"$L\" /s; echo second=$?\n"
                                               "echo took=$(( $(date +%s) - start ))\n"
                                               "xwininfo -root -tree | grep -c '\"Screen Saver\"'\n"
                                               "xdotool key a\n"
                                               "wait_for $P\n"
                                               "xprop -root _LUMIVANE_FULL_SCREEN\n",
                                           tmp);
    EXPECT_NE(run.output.find("second=0"), std::string::npos) << run.output;
    EXPECT_TRUE(run.output.find("took=0") != std::string::npos || run.output.find("took=1") != std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\n1\n"), std::string::npos) << "one saver window expected: " << run.output;
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    // The mark of the running saver goes with it.
    EXPECT_EQ(run.output.find("_LUMIVANE_FULL_SCREEN(WINDOW)"), std::string::npos) << run.output;
}

TEST_F(X11ShellTest, AMouseMoveEndsTheRunOnlyBeyondFourPixelsAfterTheGraceTicks) {
    // The shortest timer period the saver starts with, so the grace ticks pass quickly.
    ASSERT_EQ(std::system(("mkdir -p '" + tmp.File("lumivane") + "'").c_str()), 0);
    testing::WriteFile(tmp.File("lumivane/Lumivan.ini"), "[params]\nTickTime=20\n");
    const ScriptRun run = OnVirtualDisplay(std::string(kWaitFor) +
                                               "\"$L\" /s & P=$!\n"
                                               "sleep 1\n"
                                               "eval $(xdotool getmouselocation --shell)\n"
                                               "xdotool mousemove $((X+40)) $((Y+40)); sleep 0.3; xdotool mousemove $X $Y\n"
                                               "sleep 2.5\n"
                                               "xdotool mousemove $((X+3)) $((Y+1)); sleep 0.5\n"
                                               "kill -0 $P && echo alive-after-4\n"
                                               // On a slow machine the grace may still run: move on until it ends.
                                               "for i in 1 2 3 4 5 6 7 8 9 10; do kill -0 $P 2>/dev/null || break;\n"
                                               "  xdotool mousemove $((X+3)) $((Y+2)); sleep 0.15; xdotool mousemove $((X+2)) $((Y+3)); sleep 0.15; done\n"
                                               "wait_for $P\n",
                                           tmp);
    // The early, large move fell in the grace ticks; the 4-pixel one is within the threshold.
    EXPECT_NE(run.output.find("alive-after-4"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
}

TEST_F(X11ShellTest, APreviewEndsWhenItsWindowIsDestroyed) {
    const ScriptRun run = OnVirtualDisplay(std::string(kWaitFor) +
                                               "\"$L\" -window -geometry 200x150 & H=$!\n"
                                               "sleep 1\n"
                                               "W=$(xdotool search --class lumivane | head -1)\n"
                                               "\"$L\" -window-id \"$W\" & P=$!\n"
                                               "sleep 1\n"
                                               "xdotool mousemove 20 20 click 1\n"
                                               "sleep 0.3; kill -0 $P && echo preview-alive-after-click\n"
                                               "kill $H; wait $H\n"
                                               "wait_for $P\n"
                                               "\"$L\" /p 12; echo no-window=$?\n",
                                           tmp);
    EXPECT_NE(run.output.find("preview-alive-after-click"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("no-window=255"), std::string::npos) << run.output;
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
