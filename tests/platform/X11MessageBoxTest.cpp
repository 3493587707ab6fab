// The X11 message box: its layout and picture without a display, then real boxes on a
// virtual display of the test's own, answered with keys, clicks and the window manager's
// close, also while a full-screen saver holds the keyboard and pointer.
#include "platform/x11/X11MessageBox.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <optional>
#include <string>
#include <thread>

#include "common/TestSupport.h"
#include "platform/x11/XSupport.h"

// Xlib's None macro would swallow BoxIcon::None.
#undef None

namespace lumi::x11 {
namespace {

const std::string kLongText =
    "The settings dialog is not available in this version yet. The settings are kept in a file in "
    "your configuration folder and can be edited there with any text editor; the saver reads them "
    "again every time it starts, so nothing else needs to be done.";

bool Inside(const gfx::Rect& inner, int width, int height) {
    return inner.left >= 0 && inner.top >= 0 && inner.right <= width && inner.bottom <= height;
}

TEST(BoxLayoutTest, ButtonsAndTheirCancelAnswer) {
    struct Case {
        BoxButtons buttons;
        std::vector<std::string> labels;
        BoxResult cancel;
    };
    for (const Case& c : {Case{BoxButtons::Ok, {"OK"}, BoxResult::Ok},
                          Case{BoxButtons::OkCancel, {"OK", "Cancel"}, BoxResult::Cancel},
                          Case{BoxButtons::YesNo, {"Yes", "No"}, BoxResult::No}}) {
        const BoxLayout layout = LayoutBox("Text", BoxIcon::Warning, c.buttons, 600);
        ASSERT_EQ(layout.buttons.size(), c.labels.size());
        EXPECT_EQ(layout.cancel, c.cancel);
        int previousRight = 0;
        for (size_t i = 0; i < c.labels.size(); ++i) {
            const BoxButton& b = layout.buttons[i];
            EXPECT_EQ(b.label, c.labels[i]);
            EXPECT_TRUE(Inside(b.rect, layout.width, layout.height));
            EXPECT_GE(b.rect.top, layout.barTop);
            EXPECT_GE(b.rect.left, previousRight) << "buttons overlap or are out of order";
            previousRight = b.rect.right;
        }
    }
}

TEST(BoxLayoutTest, ShortTextKeepsTheNarrowestWidthAndLongTextWraps) {
    const BoxLayout shortBox = LayoutBox("Hi", BoxIcon::None, BoxButtons::Ok, 600);
    EXPECT_EQ(shortBox.width, kBoxMinWidth);

    const BoxLayout longBox = LayoutBox(kLongText, BoxIcon::Information, BoxButtons::Ok, 600);
    EXPECT_LE(longBox.text.right - longBox.text.left, kBoxTextMaxWidth);
    EXPECT_GT(longBox.text.bottom - longBox.text.top, 40) << "the text was not wrapped onto several lines";
    EXPECT_TRUE(Inside(longBox.text, longBox.width, longBox.barTop));
    EXPECT_GE(longBox.text.left, longBox.icon.right) << "text over the icon";
}

TEST(BoxLayoutTest, TextTallerThanTheScreenIsCutAndTheButtonsStayOnIt) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line\n";
    const BoxLayout layout = LayoutBox(text, BoxIcon::Error, BoxButtons::YesNo, 400);
    EXPECT_LE(layout.height, 400);
    EXPECT_TRUE(Inside(layout.buttons.back().rect, layout.width, layout.height));
    EXPECT_LE(layout.text.bottom, layout.barTop);
}

TEST(BoxPaintTest, ErrorIconFocusAndText) {
    const std::string text = "Something went wrong";
    const BoxLayout layout = LayoutBox(text, BoxIcon::Error, BoxButtons::OkCancel, 600);
    std::shared_ptr<gfx::Surface> surface = gfx::Surface::Create(layout.width, layout.height);
    PaintBox(*surface, layout, text, BoxIcon::Error, 1, -1);

    const gfx::Rect& icon = layout.icon;
    const gfx::Color ring = surface->GetPixel(icon.left + 16, icon.top + 3);
    EXPECT_GT(gfx::RedOf(ring), 180);
    EXPECT_LT(gfx::GreenOf(ring), 80);
    EXPECT_EQ(surface->GetPixel(icon.left + 16, icon.top + 16), gfx::Rgb(255, 255, 255)) << "no cross";

    // The focused second button has the blue border, the first the grey one.
    const gfx::Rect& ok = layout.buttons[0].rect;
    const gfx::Rect& cancel = layout.buttons[1].rect;
    EXPECT_EQ(surface->GetPixel(cancel.left, cancel.top + 5), gfx::Rgb(0, 120, 215));
    EXPECT_NE(surface->GetPixel(ok.left, ok.top + 5), gfx::Rgb(0, 120, 215));

    int inked = 0;
    for (int y = layout.text.top; y < layout.text.bottom; ++y)
        for (int x = layout.text.left; x < layout.text.right; ++x)
            if (gfx::RedOf(surface->GetPixel(x, y)) < 100) ++inked;
    EXPECT_GT(inked, 30) << "no text drawn";
}

bool Installed(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Shell(const std::string& command) {
    std::string out;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// Counts the boxes that went to the terminal instead (a recorder would install itself).
class SilentBoxes : public MessageBoxService {
public:
    BoxResult Show(WindowHandle, const std::string&, const std::string&, BoxIcon, BoxButtons) override {
        ++shown;
        return BoxResult::Ok;
    }
    std::atomic<int> shown{0};
};

// A virtual display started for the suite; DISPLAY points at it while the suite runs.
class X11MessageBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Installed("Xvfb") || !Installed("xdotool")) return;
        folder_ = new testing::TempFolder();
        const std::string numberFile = folder_->File("display");
        const std::string pidFile = folder_->File("pid");
        // -noreset: like a desktop, where some client always stays, the server does not
        // reset (refusing connections for a moment) whenever the last box closes.
        std::system(("Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 800x600x24 3>'" + numberFile +
                     "' >/dev/null 2>&1 & echo $! > '" + pidFile + "'")
                        .c_str());
        for (int i = 0; i < 100; ++i) {
            const std::string number = testing::ReadFile(numberFile);
            if (!number.empty() && number.back() == '\n') {
                display_ = ":" + number.substr(0, number.size() - 1);
                break;
            }
            usleep(50 * 1000);
        }
        server_ = std::atoi(testing::ReadFile(pidFile).c_str());
    }
    static void TearDownTestSuite() {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
        delete folder_;
        folder_ = nullptr;
    }
    void SetUp() override {
        if (display_.empty()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
        setenv("DISPLAY", display_.c_str(), 1);
    }
    void TearDown() override { unsetenv("DISPLAY"); }

    // The id of the window titled `caption`, once it is mapped (a click before would miss it); empty after 3 seconds.
    static std::string WaitForWindow(const std::string& caption) {
        for (int i = 0; i < 60; ++i) {
            std::string id = Shell("xdotool search --onlyvisible --name '^" + caption + "$' 2>/dev/null | head -n 1");
            if (!id.empty()) return id.substr(0, id.find('\n'));
            usleep(50 * 1000);
        }
        return "";
    }

    // Shows a box on a thread, does `act` to its window and returns the answer; a box still
    // up 3 seconds later is destroyed, so a broken box fails the test instead of hanging it.
    template <typename Act>
    static std::optional<BoxResult> Answer(const std::string& caption, const std::string& text, BoxIcon icon,
                                           BoxButtons buttons, Act act, std::string* window = nullptr) {
        std::promise<BoxResult> answer;
        std::future<BoxResult> result = answer.get_future();
        std::thread shower([&] {
            X11MessageBoxes boxes(fallback_);
            answer.set_value(boxes.Show(nullptr, text, caption, icon, buttons));
        });
        const std::string id = WaitForWindow(caption);
        if (window) *window = id;
        if (!id.empty()) act(id);
        std::optional<BoxResult> got;
        if (result.wait_for(std::chrono::seconds(3)) == std::future_status::ready) {
            got = result.get();
        } else if (!id.empty()) {
            Shell("xdotool windowclose " + id + " 2>/dev/null");
        }
        shower.join();
        return got;
    }

    static testing::TempFolder* folder_;
    static std::string display_;
    static pid_t server_;
    static SilentBoxes fallback_;
};

testing::TempFolder* X11MessageBoxTest::folder_ = nullptr;
std::string X11MessageBoxTest::display_;
pid_t X11MessageBoxTest::server_ = 0;
SilentBoxes X11MessageBoxTest::fallback_;

// Real key presses, once the box has taken the focus they go to.
auto Keys(const std::string& keys) {
    return [keys](const std::string& id) {
        for (int i = 0; i < 40 && Shell("xdotool getwindowfocus").find(id) != 0; ++i) usleep(25 * 1000);
        Shell("xdotool key " + keys + " 2>/dev/null");
    };
}

TEST_F(X11MessageBoxTest, KeysAnswerEveryKindOfBox) {
    EXPECT_EQ(Answer("Question", "Go on?", BoxIcon::Question, BoxButtons::YesNo, Keys("Return")), BoxResult::Yes);
    EXPECT_EQ(Answer("Question", "Go on?", BoxIcon::Question, BoxButtons::YesNo, Keys("Escape")), BoxResult::No);
    EXPECT_EQ(Answer("Question", "Go on?", BoxIcon::Question, BoxButtons::YesNo, Keys("Tab Return")),
              BoxResult::No);
    EXPECT_EQ(Answer("Question", "Go on?", BoxIcon::Question, BoxButtons::YesNo, Keys("Tab Tab space")),
              BoxResult::Yes);
    EXPECT_EQ(Answer("Choice", "Sure?", BoxIcon::Warning, BoxButtons::OkCancel, Keys("Escape")), BoxResult::Cancel);
    EXPECT_EQ(Answer("Note", "Done.", BoxIcon::Information, BoxButtons::Ok, Keys("Escape")), BoxResult::Ok);
    EXPECT_EQ(fallback_.shown, 0);
}

TEST_F(X11MessageBoxTest, ClickOnASecondButtonAndTheWindowManagersClose) {
    const BoxLayout layout = LayoutBox("Sure?", BoxIcon::Warning, BoxButtons::OkCancel, 600);
    const gfx::Rect& cancel = layout.buttons[1].rect;
    auto click = [&](const std::string& id) {
        Shell("xdotool mousemove --window " + id + " " + std::to_string(cancel.left + 10) + " " +
            std::to_string(cancel.top + 10) + " click 1");
    };
    EXPECT_EQ(Answer("Choice", "Sure?", BoxIcon::Warning, BoxButtons::OkCancel, click), BoxResult::Cancel);

    auto close = [](const std::string& id) {
        DisplayPtr d(XOpenDisplay(nullptr));
        ASSERT_TRUE(d);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = static_cast<Window>(std::stoul(id));
        e.xclient.message_type = XInternAtom(d.get(), "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(d.get(), "WM_DELETE_WINDOW", False));
        XSendEvent(d.get(), e.xclient.window, False, NoEventMask, &e);
        XSync(d.get(), False);
    };
    EXPECT_EQ(Answer("Question", "Go on?", BoxIcon::Question, BoxButtons::YesNo, close), BoxResult::No);
}

TEST_F(X11MessageBoxTest, LongTextWrapsWithinTheBox) {
    std::string geometry;
    auto measure = [&](const std::string& id) {
        geometry = Shell("xdotool getwindowgeometry " + id);
        Keys("Return")(id);
    };
    EXPECT_EQ(Answer("Wrapped", kLongText, BoxIcon::Information, BoxButtons::Ok, measure), BoxResult::Ok);
    const size_t at = geometry.find("Geometry: ");
    ASSERT_NE(at, std::string::npos) << geometry;
    int width = 0, height = 0;
    ASSERT_EQ(std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &width, &height), 2);
    EXPECT_GE(width, kBoxMinWidth);
    EXPECT_LE(width, kBoxTextMaxWidth + 100);
    EXPECT_GT(height, 120) << "the text is on one line";
}

TEST_F(X11MessageBoxTest, TakesInputFromAFullScreenSaverAndGivesItBack) {
    // The saver: an override-redirect window over the screen holding keyboard and pointer.
    DisplayPtr saver(XOpenDisplay(nullptr));
    ASSERT_TRUE(saver);
    Display* s = saver.get();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    WindowOwner sky(s, XCreateWindow(s, DefaultRootWindow(s), 0, 0, 800, 600, 0, CopyFromParent, InputOutput,
                                     CopyFromParent, CWOverrideRedirect, &attributes));
    XMapRaised(s, sky.Get());
    XSync(s, False);
    auto grab = [s, &sky] {
        return XGrabKeyboard(s, sky.Get(), True, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess &&
               XGrabPointer(s, sky.Get(), True, ButtonPressMask, GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime) ==
                   GrabSuccess;
    };
    ASSERT_TRUE(grab());

    std::atomic<bool> released{false};
    std::atomic<bool> regrabbed{false};
    std::promise<BoxResult> answer;
    std::future<BoxResult> result = answer.get_future();
    std::thread saverThread([&] {
        X11MessageBoxes boxes(fallback_);
        boxes.SetGrabHandOver({[&] {
                                   XUngrabKeyboard(s, CurrentTime);
                                   XUngrabPointer(s, CurrentTime);
                                   XSync(s, False);
                                   released = true;
                               },
                               [&] { regrabbed = grab(); }});
        answer.set_value(boxes.Show(nullptr, "Found it", "Over the sky", BoxIcon::Information, BoxButtons::OkCancel));
    });
    const std::string id = WaitForWindow("Over the sky");
    for (int i = 0; i < 60 && !released; ++i) usleep(50 * 1000);
    usleep(200 * 1000);  // the box takes the grabs right after the saver lets go
    // Real key events, as the user's keyboard sends them, not ones sent to a window.
    Shell("xdotool key Tab Return");
    const bool ready = result.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
    if (!ready && !id.empty()) Shell("xdotool windowclose " + id + " 2>/dev/null");
    saverThread.join();
    ASSERT_FALSE(id.empty());
    ASSERT_TRUE(ready) << "the box got no keys";
    EXPECT_EQ(result.get(), BoxResult::Cancel);
    EXPECT_TRUE(released);
    EXPECT_TRUE(regrabbed) << "the saver did not get its grabs back";
}

TEST_F(X11MessageBoxTest, TheProgramsSettingsNoteIsAWindowOnTheDisplay) {
    const std::string config = folder_->File("config");
    const std::string exitFile = folder_->File("exit");
    // A copy of the saver in a folder without the settings program beside it, which the
    // build folder has: the note says where to get it.
    const std::string saver = folder_->File("lumivane");
    ASSERT_EQ(std::system(("cp '" LUMI_BINARY_DIR "/lumivane' '" + saver + "'").c_str()), 0);
    std::system(("(XDG_CONFIG_HOME='" + config + "' timeout 10 '" + saver + "' /c >/dev/null 2>&1; echo $? > '" +
                 exitFile + "') &")
                    .c_str());
    const std::string id = WaitForWindow("Lumivane settings");
    ASSERT_FALSE(id.empty()) << "no box on the display";
    Keys("Return")(id);
    std::string code;
    for (int i = 0; i < 60 && code.empty(); ++i) {
        usleep(50 * 1000);
        code = testing::ReadFile(exitFile);
    }
    EXPECT_EQ(code, "0\n");
}

TEST_F(X11MessageBoxTest, WithoutADisplayTheFallbackAnswers) {
    unsetenv("DISPLAY");
    {
        // No service is installed for a run without a display.
        ScopedX11MessageBoxes scoped;
        EXPECT_EQ(scoped.Boxes(), nullptr);
        EXPECT_EQ(&MessageBoxes(), &PlatformMessageBoxes());
    }
    testing::RecordingMessageBoxes terminal;
    X11MessageBoxes boxes(terminal);
    boxes.Show(nullptr, "Text", "Nowhere", BoxIcon::Error, BoxButtons::Ok);
    ASSERT_EQ(terminal.boxes.size(), 1u);
    EXPECT_EQ(terminal.boxes[0].caption, "Nowhere");
}

TEST_F(X11MessageBoxTest, InstalledForARunOnlyOverThePlatformsBoxes) {
    {
        ScopedX11MessageBoxes scoped;
        ASSERT_NE(scoped.Boxes(), nullptr);
        EXPECT_EQ(&MessageBoxes(), scoped.Boxes());
    }
    EXPECT_EQ(&MessageBoxes(), &PlatformMessageBoxes());

    testing::RecordingMessageBoxes recorder;  // installs itself
    {
        ScopedX11MessageBoxes scoped;
        EXPECT_EQ(scoped.Boxes(), nullptr);
        EXPECT_EQ(&MessageBoxes(), &recorder);
    }
}

}  // namespace
}  // namespace lumi::x11
