// The root-window wallpaper: the picture scaled to cover the screen, and the built
// program on a private Xvfb: a full-screen run over a folder of three JPEGs sets the
// root's pixmap to one of them (and a second run frees the first run's pixmap), while a
// preview in a 300-pixel window and a run over an empty folder leave the root alone.
#include "platform/x11/X11Wallpaper.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/TestJpeg.h"
#include "common/TestSupport.h"

// Last: X11 defines None and Bool as macros.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lumi {
namespace {

const std::string kProgram = LUMI_BINARY_DIR "/lumivane";

TEST(CoverScreen, ScalesByTheLargerRatioAndCutsTheOverhangEvenly) {
    // Four columns red, green, blue, white onto a 2 × 2 screen: the middle two remain.
    gfx::Image picture = *gfx::Image::Create(4, 2);
    const uint32_t columns[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) picture.SetPixel(x, y, columns[x]);
    std::vector<uint32_t> out = x11::CoverScreen(picture, 2, 2);
    // The display's pixels are 0x00RRGGBB.
    EXPECT_EQ(out, (std::vector<uint32_t>{0x00FF00, 0x0000FF, 0x00FF00, 0x0000FF}));

    // A 1 × 2 picture doubled onto a 4 × 4 screen: its rows cut top and bottom.
    picture = *gfx::Image::Create(1, 2);
    picture.SetPixel(0, 0, 0x0000FF);
    picture.SetPixel(0, 1, 0xFF0000);
    out = x11::CoverScreen(picture, 4, 4);
    ASSERT_EQ(out.size(), 16u);
    EXPECT_EQ(out[0], 0xFF0000u);   // top row: red
    EXPECT_EQ(out[15], 0x0000FFu);  // bottom row: blue
    EXPECT_TRUE(x11::CoverScreen(gfx::Image(), 4, 4).empty());
}

int errorsSeen = 0;
int CountError(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}

class X11WallpaperTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_EQ(access(kProgram.c_str(), X_OK), 0) << kProgram << " is not built";
        server_ = std::make_unique<testing::PrivateXvfb>("640x480x24");
        display_ = server_->Display();
        ASSERT_FALSE(display_.empty()) << "Xvfb did not start";
        x_ = XOpenDisplay(display_.c_str());
        ASSERT_NE(x_, nullptr);
        XSetErrorHandler(CountError);
        testing::WriteFile(tmp.File("lumivane/Lumivan.ini"), "");  // makes the folder
    }
    void TearDown() override {
        if (x_) XCloseDisplay(x_);
        x_ = nullptr;
        server_.reset();
    }

    void Settings(const std::string& folder) {
        mkdir(tmp.File("lumivane").c_str(), 0700);
        testing::WriteFile(tmp.File("lumivane/Lumivan.ini"),
                           "[params]\nTickTime=20\n[WallPaper]\nEnabled=1\npath=" + folder + "\n");
    }

    // Starts the program on the private display with the settings, cache and log in tmp.
    // The log of an earlier run is removed first, so waiting for a line sees this run's.
    pid_t Start(const std::vector<std::string>& args) {
        unlink(tmp.File("lumivane/lumivane.log.txt").c_str());
        const pid_t child = fork();
        if (child == 0) {
            setenv("DISPLAY", display_.c_str(), 1);
            setenv("XDG_CONFIG_HOME", tmp.Path().c_str(), 1);
            setenv("XDG_CACHE_HOME", (tmp.Path() + "cache").c_str(), 1);
            setenv("TMPDIR", tmp.Path().c_str(), 1);
            setenv("XDG_STATE_HOME", tmp.Path().c_str(), 1);
            unsetenv("XDG_CURRENT_DESKTOP");
            unsetenv("XSCREENSAVER_WINDOW");
            std::vector<char*> argv = {const_cast<char*>(kProgram.c_str())};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            const int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            execv(kProgram.c_str(), argv.data());
            _exit(127);
        }
        return child;
    }
    static void Stop(pid_t child) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    std::string Log() const { return testing::ReadFile(tmp.File("lumivane/lumivane.log.txt")); }
    // Waits (up to about 20 seconds, for a slow sanitizer build) until the log holds text.
    bool WaitForLog(const std::string& text) const {
        for (int i = 0; i < 200; ++i) {
            if (Log().find(text) != std::string::npos) return true;
            usleep(100 * 1000);
        }
        return false;
    }
    Pixmap RootPixmap(const char* property) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        Pixmap value = 0;
        const Atom atom = XInternAtom(x_, property, False);
        if (XGetWindowProperty(x_, DefaultRootWindow(x_), atom, 0, 1, False, XA_PIXMAP, &type, &format, &count,
                               &after, &data) == Success &&
            type == XA_PIXMAP && count == 1)
            value = static_cast<Pixmap>(*reinterpret_cast<unsigned long*>(data));
        if (data) XFree(data);
        return value;
    }
    // The pixmap's pixel as 0x00BBGGRR.
    uint32_t PixmapPixel(Pixmap pixmap, int x, int y) {
        XImage* image = XGetImage(x_, pixmap, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return 0xFFFFFFFF;
        const unsigned long p = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
    }
    bool PixmapExists(Pixmap pixmap) {
        XSync(x_, False);
        errorsSeen = 0;
        Window root;
        int x, y;
        unsigned w, h, border, depth;
        const Status ok = XGetGeometry(x_, pixmap, &root, &x, &y, &w, &h, &border, &depth);
        XSync(x_, False);
        return ok && errorsSeen == 0;
    }

    testing::TempFolder tmp;
    std::unique_ptr<testing::PrivateXvfb> server_;
    std::string display_;
    Display* x_ = nullptr;
};

TEST_F(X11WallpaperTest, AFullScreenRunMakesOneOfThreePicturesTheRootsBackground) {
    const std::string pictures = tmp.Path() + "pictures";
    ASSERT_EQ(mkdir(pictures.c_str(), 0700), 0);
    const uint32_t colours[3] = {0x2020E0, 0x20E020, 0xE02020};  // red, green, blue (0x00BBGGRR)
    testing::WriteJpeg(pictures + "/red.jpg", *gfx::Image::Create(64, 48, colours[0]));
    testing::WriteJpeg(pictures + "/green.JPG", *gfx::Image::Create(64, 48, colours[1]));
    testing::WriteJpeg(pictures + "/blue.jpeg", *gfx::Image::Create(64, 48, colours[2]));
    Settings(pictures);

    pid_t saver = Start({"/s"});
    const bool set = WaitForLog("info> New wallpaper: ");
    ASSERT_TRUE(WaitForLog("info> Universe: Create-exit"));
    Stop(saver);
    ASSERT_TRUE(set) << Log();
    EXPECT_NE(Log().find("info> total files3 NEW INT CONV"), std::string::npos);

    // The pixmap outlives the program that made it.
    const Pixmap first = RootPixmap("_XROOTPMAP_ID");
    ASSERT_NE(first, 0u);
    EXPECT_EQ(RootPixmap("ESETROOT_PMAP_ID"), first);
    const uint32_t centre = PixmapPixel(first, 320, 240);
    int matches = 0;
    for (uint32_t c : colours) matches += testing::CloseColour(centre, c);
    EXPECT_EQ(matches, 1) << std::hex << centre;
    // A flat picture covers the whole screen.
    EXPECT_EQ(PixmapPixel(first, 0, 0), centre);
    EXPECT_EQ(PixmapPixel(first, 639, 479), centre);
    struct stat st {};
    ASSERT_EQ(stat((tmp.Path() + "cache/lumivane/wallpaper-1.bmp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 54 + 64 * 48 * 3);

    // The next start replaces it and frees the pixmap the first one left behind.
    saver = Start({"/s"});
    ASSERT_TRUE(WaitForLog("info> New wallpaper: " + tmp.Path() + "cache/lumivane/wallpaper-2.bmp"));
    ASSERT_TRUE(WaitForLog("info> Universe: Create-exit"));
    Stop(saver);
    const Pixmap second = RootPixmap("_XROOTPMAP_ID");
    EXPECT_NE(second, first);
    EXPECT_TRUE(PixmapExists(second));
    EXPECT_FALSE(PixmapExists(first));
    EXPECT_NE(access((tmp.Path() + "cache/lumivane/wallpaper-1.bmp").c_str(), F_OK), 0);
}

TEST_F(X11WallpaperTest, APreviewIn300PixelsAndAnEmptyFolderLeaveTheRootAlone) {
    Settings(tmp.Path());  // holds no JPEG
    const Window host = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 0, 0, 300, 200, 0, 0, 0);
    XMapWindow(x_, host);
    XSync(x_, False);
    pid_t saver = Start({"-window-id", std::to_string(host)});
    ASSERT_TRUE(WaitForLog("info> Universe: Create-exit")) << Log();
    Stop(saver);
    EXPECT_EQ(Log().find("looking in path"), std::string::npos);
    EXPECT_EQ(RootPixmap("_XROOTPMAP_ID"), 0u);

    saver = Start({"/s"});
    ASSERT_TRUE(WaitForLog("info> Universe: Create-exit")) << Log();
    Stop(saver);
    EXPECT_NE(Log().find("info> total files0 NEW INT CONV"), std::string::npos) << Log();
    EXPECT_EQ(RootPixmap("_XROOTPMAP_ID"), 0u);
}

}  // namespace
}  // namespace lumi
