// The settings program on a virtual X display, driven as a user drives it: the main window
// opens with its caption and the message selected, typing and Return stores the message as
// the first slot, Escape stores nothing, the options sheet opens and closes by keys, and the
// saver started without arguments becomes the settings program beside it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/TestSupport.h"
#include "platform/IniText.h"

namespace lumi {
namespace {

const std::string kSettings = LUMI_BINARY_DIR "/lumivane-settings";

bool Installed(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

// wait_window <title>: waits (up to 20 s, polling) for a window of that exact title and
// puts it in $W, or prints "no window <title>". ends: waits up to 20 s for the program to
// end and prints "rc=<code>", or "running" (and stops it). sheet_gone: waits up to 20 s for
// the options sheet to close.
const char kHelpers[] =
    "wait_window() { i=0; W=''; while [ $i -lt 400 ]; do\n"
    "    W=$(xdotool search --name \"^$1\\$\" 2>/dev/null | head -1); [ -n \"$W\" ] && return 0;\n"
    "    sleep 0.05; i=$((i+1)); done; echo \"no window $1\"; return 1; }\n"
    "ends() { i=0; while kill -0 $P 2>/dev/null && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done;\n"
    "  if kill -0 $P 2>/dev/null; then echo running; kill $P; wait $P; else wait $P; echo rc=$?; fi; }\n"
    "start() { \"$S\" & P=$!; wait_window 'Lumivane Screensaver v4.21' && xdotool windowfocus --sync $W; }\n"
    "sheet_gone() { i=0; while xdotool search --onlyvisible --name 'Much More Options' >/dev/null 2>&1 && [ $i -lt 400 ];\n"
    "    do sleep 0.05; i=$((i+1)); done; }\n";

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "GTK's own start-up is not ours to check under the sanitizers";
#endif
        if (!Installed("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
        if (!Installed("xdotool")) GTEST_SKIP() << "xdotool is not installed";
        ASSERT_EQ(access(kSettings.c_str(), X_OK), 0) << kSettings << " is not built";
    }

    // Runs the script on a display of its own, with the home and settings in tmp. $S is
    // the program.
    testing::CommandRun OnVirtualDisplay(const std::string& script) {
        const std::string file = tmp.File("script.sh");
        testing::WriteFile(file, "set -u\nS='" + kSettings + "'\n" + kHelpers + script);
        const std::string command = "cd '" + tmp.Path() + "' && HOME='" + tmp.Path() + "' XDG_CONFIG_HOME='" +
                                    tmp.File(".config") + "' XDG_STATE_HOME='" + tmp.File("state") +
                                    "' XDG_RUNTIME_DIR='" + tmp.Path() + "' NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory SDL_AUDIODRIVER=dummy timeout 120 '" +
                                    LUMI_SOURCE_DIR + "/tools/with-xvfb.sh' 1024x768x24 sh '" + file + "' 2>&1";
        return testing::RunCommand(command);
    }

    std::string IniFile() const { return tmp.File(".config/lumivane/Lumivan.ini"); }
    std::optional<std::string> Stored(const char* section, const char* key) const {
        return IniLookup(testing::ReadFile(IniFile()), section, key);
    }
    void StartWith(const std::string& content) {
        ASSERT_EQ(std::system(("mkdir -p '" + tmp.File(".config/lumivane") + "'").c_str()), 0);
        testing::WriteFile(IniFile(), content);
    }

    testing::TempFolder tmp;
};

TEST_F(SettingsWindowTest, TypingAMessageAndReturnStoreItAsTheFirstSlot) {
    StartWith("[Messages]\r\nMessage___0=Old words\r\nBottomLine___0=Old line\r\n");
    // The message is selected when the window opens, so typing replaces it.
    const testing::CommandRun run = OnVirtualDisplay(
        "start\n"
        "xdotool type --delay 30 'Clear skies'\n"
        "xdotool key Return\n"
        "ends\n");
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    EXPECT_EQ(Stored("Messages", "Message___0"), std::optional<std::string>("Clear skies")) << run.output;
    EXPECT_EQ(Stored("Messages", "BottomLine___0"), std::optional<std::string>("Old line"));
}

TEST_F(SettingsWindowTest, EscapeStoresNothing) {
    StartWith("[Messages]\r\nMessage___0=Old words\r\n[params]\r\nAirplanes=1\r\n");
    const testing::CommandRun run = OnVirtualDisplay(
        "start\n"
        "xdotool type --delay 30 'Forgotten'\n"
        // Alt+A unticks the airplanes, which only OK would store.
        "xdotool key alt+a\n"
        "xdotool key Escape\n"
        "ends\n");
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    EXPECT_EQ(Stored("Messages", "Message___0"), std::optional<std::string>("Old words")) << run.output;
    EXPECT_EQ(Stored("params", "Airplanes"), std::optional<std::string>("1"));
}

TEST_F(SettingsWindowTest, CtrlOrShiftReturnStartsANewLineAndReturnStillConfirms) {
    StartWith("[Messages]\r\nMessage___0=Old words\r\n");
    const testing::CommandRun run = OnVirtualDisplay(
        "start\n"
        "xdotool type --delay 30 'One'; xdotool key ctrl+Return\n"
        "xdotool type --delay 30 'two'; xdotool key shift+Return\n"
        "xdotool type --delay 30 'three'; xdotool key Return\n"
        "ends\n");
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    // The store keeps a line break as the two characters \r\n on one line of the file.
    EXPECT_EQ(Stored("Messages", "Message___0"), std::optional<std::string>("One\\r\\ntwo\\r\\nthree")) << run.output;
}

// The sheet opens on "Star Messages" with the page list focused; Alt+2 ticks "Show the time
// in 24 hour format.", which only the sheet's OK stores.
const char kTick24Hours[] =
    "start; MAIN=$W\n"
    "xdotool key alt+o\n"
    "wait_window 'Lumivane Screensaver v4.21 - Much More Options' && SHEET=$W\n"
    "xdotool windowfocus --sync $SHEET key alt+2\n";

TEST_F(SettingsWindowTest, TheSheetsReturnStoresItsPages) {
    StartWith("[params]\r\nFormatTime24H=0\r\n");
    const testing::CommandRun run = OnVirtualDisplay(std::string(kTick24Hours) +
                                                     "xdotool key Return\n"
                                                     "sheet_gone; xdotool windowfocus --sync $MAIN key Escape\n"
                                                     "ends\n");
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    EXPECT_EQ(Stored("params", "FormatTime24H"), std::optional<std::string>("1")) << run.output;
}

TEST_F(SettingsWindowTest, TheSheetsEscapeStoresNothing) {
    StartWith("[params]\r\nFormatTime24H=0\r\n");
    const testing::CommandRun run = OnVirtualDisplay(std::string(kTick24Hours) +
                                                     "xdotool key Escape\n"
                                                     "sheet_gone; xdotool windowfocus --sync $MAIN key Escape\n"
                                                     "ends\n");
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    EXPECT_EQ(Stored("params", "FormatTime24H"), std::optional<std::string>("0")) << run.output;
}

TEST_F(SettingsWindowTest, ASoundPickedOnItsPageStaysAfterTheSheetsEscape) {
    StartWith("[Sound]\r\nSound=105\r\n");
    const testing::CommandRun run = OnVirtualDisplay(
        "start; MAIN=$W\n"
        "xdotool key alt+o\n"
        "wait_window 'Lumivane Screensaver v4.21 - Much More Options' && SHEET=$W\n"
        // The page list has the focus: the next page is "Sounds", where Alt+L picks the
        // lullaby (124), stored as soon as it is picked.
        "xdotool windowfocus --sync $SHEET key Down; xdotool key alt+l\n"
        "xdotool key Escape\n"
        "sheet_gone; xdotool windowfocus --sync $MAIN key Escape\n"
        "ends\n");
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    EXPECT_EQ(Stored("Sound", "Sound"), std::optional<std::string>("124")) << run.output;
}

TEST_F(SettingsWindowTest, TheOptionsOpenByTheirMnemonicAndEscapeClosesOneWindowAtATime) {
    StartWith("[Messages]\r\nMessage___0=Old words\r\n");
    const testing::CommandRun run = OnVirtualDisplay(
        "start; MAIN=$W\n"
        "xdotool key alt+o\n"
        "wait_window 'Lumivane Screensaver v4.21 - Much More Options' && echo sheet open\n"
        "xdotool windowfocus --sync $W key Escape\n"
        "i=0; while xdotool search --name 'Much More Options' >/dev/null 2>&1 && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\n"
        "xdotool search --name 'Much More Options' >/dev/null 2>&1 || echo sheet closed\n"
        "kill -0 $P && echo main still open\n"
        "xdotool windowfocus --sync $MAIN key Escape\n"
        "ends\n");
    EXPECT_NE(run.output.find("sheet open"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("sheet closed"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("main still open"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    EXPECT_EQ(Stored("Messages", "Message___0"), std::optional<std::string>("Old words"));
}

TEST_F(SettingsWindowTest, HelpAndF1OpenTheHelpPageWithTheDesktop) {
    // The desktop's opener is a stand-in that writes down what it was asked to open.
    ASSERT_EQ(std::system(("mkdir -p '" + tmp.File("bin") + "'").c_str()), 0);
    testing::WriteFile(tmp.File("bin/xdg-open"), "#!/bin/sh\necho \"$1\" >> '" + tmp.File("opened") + "'\n");
    ASSERT_EQ(std::system(("chmod +x '" + tmp.File("bin/xdg-open") + "'").c_str()), 0);
    const testing::CommandRun run = OnVirtualDisplay(
        "export PATH=\"$PWD/bin:$PATH\"\n"
        "start\n"
        "xdotool key alt+h\n"
        "xdotool key F1\n"
        "i=0; while [ \"$(wc -l < opened 2>/dev/null || echo 0)\" -lt 2 ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\n"
        "xdotool key Escape\n"
        "ends\n");
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    const std::vector<std::string> opened = testing::ReadLines(tmp.File("opened"));
    ASSERT_EQ(opened.size(), 2u) << run.output;
    for (const std::string& page : opened) {
        EXPECT_EQ(page.substr(page.rfind('/') + 1), "lumivan.htm");
        EXPECT_EQ(access(page.c_str(), R_OK), 0) << page;
    }
}

TEST_F(SettingsWindowTest, TheSaverWithoutArgumentsOpensTheSettingsBesideIt) {
    StartWith("[Messages]\r\nMessage___0=Old words\r\n");
    const testing::CommandRun run = OnVirtualDisplay(
        "'" LUMI_BINARY_DIR "/lumivane' & P=$!\n"
        "wait_window 'Lumivane Screensaver v4.21' && echo settings open\n"
        "xdotool windowfocus --sync $W type --delay 30 'From the saver'\n"
        "xdotool key Return\n"
        "ends\n");
    EXPECT_NE(run.output.find("settings open"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("rc=0"), std::string::npos) << run.output;
    EXPECT_EQ(Stored("Messages", "Message___0"), std::optional<std::string>("From the saver"));
}

}  // namespace
}  // namespace lumi
