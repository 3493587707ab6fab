// The Linux wallpaper service: which files a folder offers, the private cache file, the
// desktop's own tool per XDG_CURRENT_DESKTOP with the root window as the fallback, and
// GNOME's keys set for real through gsettings.
#include "platform/posix/PosixWallpaper.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "common/TestJpeg.h"
#include "common/TestSupport.h"
#include "base/Log.h"

namespace lumi {
namespace {

bool Installed(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

class PosixWallpaperTest : public ::testing::Test {
protected:
    void SetUp() override { RestartLogAt(folder.File("log.txt")); }

    std::string Log() const { return testing::ReadFile(folder.File("log.txt")); }

    // A service whose helper programs and root painter are recorded, not run.
    PosixWallpaperService Recording() {
        return PosixWallpaperService(
            [this](const std::vector<std::string>& argv) {
                commands.push_back(argv);
                return answer(argv);
            },
            [this](const gfx::Image&, std::string& why) {
                ++rootPaints;
                why = "no X display to paint";
                return rootWorks;
            });
    }

    testing::TempFolder folder;
    std::vector<std::vector<std::string>> commands;
    std::function<HelperResult(const std::vector<std::string>&)> answer = [](const std::vector<std::string>&) {
        HelperResult r;
        r.started = true;
        r.exitCode = 0;
        return r;
    };
    int rootPaints = 0;
    bool rootWorks = true;
    gfx::Image picture = *gfx::Image::Create(2, 2, 0x808080);
};

TEST(WildcardMatch, ComparesWithoutRegardToCaseAndTriesEachPattern) {
    EXPECT_TRUE(MatchesAnyPattern("*.jpg;*.jpeg", "sky.jpg"));
    EXPECT_TRUE(MatchesAnyPattern("*.jpg;*.jpeg", "SKY.JPG"));
    EXPECT_TRUE(MatchesAnyPattern("*.jpg;*.jpeg", "moon.JpEg"));
    EXPECT_TRUE(MatchesAnyPattern("*.jpg;*.jpeg", ".jpg"));
    EXPECT_FALSE(MatchesAnyPattern("*.jpg;*.jpeg", "sky.jpg.txt"));
    EXPECT_FALSE(MatchesAnyPattern("*.jpg;*.jpeg", "sky.jpgx"));
    EXPECT_FALSE(MatchesAnyPattern("*.jpg;*.jpeg", "jpg"));
    EXPECT_FALSE(MatchesAnyPattern("*.jpg;*.jpeg", "sky.png"));
    EXPECT_TRUE(WildcardMatch("a*b*c", "aXXbYYbc"));
    EXPECT_TRUE(WildcardMatch("?.jpg", "x.JPG"));
    EXPECT_FALSE(WildcardMatch("?.jpg", "xy.jpg"));
    EXPECT_FALSE(MatchesAnyPattern(";;", "x"));
}

TEST_F(PosixWallpaperTest, ListsMatchingPlainFilesSortedAndNothingFromAMissingFolder) {
    for (const char* name : {"b.jpg", "A.JPG", "c.Jpeg", "d.png", "e.jpg.bak"}) testing::WriteFile(folder.File(name), "x");
    ASSERT_EQ(mkdir(folder.File("dir.jpg").c_str(), 0700), 0);
    ASSERT_EQ(symlink("b.jpg", folder.File("link.jpg").c_str()), 0);  // a link to a picture is a picture
    PosixWallpaperService service = Recording();
    const auto names = service.ListFiles(folder.Path(), "*.jpg;*.jpeg");
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{"A.JPG", "b.jpg", "c.Jpeg", "link.jpg"}));
    EXPECT_FALSE(service.ListFiles(folder.File("missing"), "*.jpg"));
}

TEST_F(PosixWallpaperTest, LoadsAJpegAndSaysWhyForAMissingFolderOrBrokenFile) {
    const gfx::Image blue = *gfx::Image::Create(8, 8, 0xFF0000);
    testing::WriteJpeg(folder.File("blue.jpg"), blue);
    PosixWallpaperService service = Recording();
    PictureLoad load = service.LoadPicture(folder.File("blue.jpg"));
    ASSERT_TRUE(load.picture) << load.why;
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(3, 3), 0xFF0000));

    load = service.LoadPicture(folder.File("none.jpg"));
    EXPECT_FALSE(load.picture);
    EXPECT_EQ(load.why, "cannot open the file: No such file or directory");
    ASSERT_EQ(mkdir(folder.File("dir.jpg").c_str(), 0700), 0);
    EXPECT_EQ(service.LoadPicture(folder.File("dir.jpg")).why, "not a plain file");
    testing::WriteFile(folder.File("text.jpg"), "just words");
    EXPECT_EQ(service.LoadPicture(folder.File("text.jpg")).why, "not a JPEG file");
}

TEST_F(PosixWallpaperTest, TheCacheFileIsPrivateTakesTwoNamesInTurnAndReplacesAPlantedLink) {
    testing::ScopedEnv cache("XDG_CACHE_HOME", (folder.Path() + "cache").c_str());
    PosixWallpaperService service = Recording();
    std::string why;
    const std::string first = service.NextWallpaperFile(why);
    EXPECT_EQ(first, folder.Path() + "cache/lumivane/wallpaper-1.bmp") << why;
    struct stat st {};
    ASSERT_EQ(stat((folder.Path() + "cache/lumivane").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Someone plants a link where the file goes: the link is replaced, its target untouched.
    testing::WriteFile(folder.File("victim"), "keep me");
    ASSERT_EQ(symlink(folder.File("victim").c_str(), first.c_str()), 0);
    const uint8_t bytes[] = {'B', 'M', 1, 2, 3};
    EXPECT_EQ(service.WritePrivateFile(first, bytes, sizeof bytes), FileWrite::Written);
    EXPECT_EQ(testing::ReadFile(folder.File("victim")), "keep me");
    ASSERT_EQ(lstat(first.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(testing::ReadFile(first), std::string("BM\x01\x02\x03"));

    const std::string second = service.NextWallpaperFile(why);
    EXPECT_EQ(second, folder.Path() + "cache/lumivane/wallpaper-2.bmp");
    EXPECT_EQ(service.WritePrivateFile(second, bytes, sizeof bytes), FileWrite::Written);
    // Once the second is shown, the first goes, and the next run takes the first name again.
    testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", nullptr);
    EXPECT_TRUE(service.SetWallpaper(second, picture, why));
    EXPECT_NE(access(first.c_str(), F_OK), 0);
    EXPECT_EQ(service.NextWallpaperFile(why), first);

    EXPECT_EQ(service.WritePrivateFile(folder.File("missing/x.bmp"), bytes, sizeof bytes), FileWrite::CannotCreate);
}

TEST_F(PosixWallpaperTest, ACacheFolderThatIsALinkIsRefused) {
    ASSERT_EQ(mkdir(folder.File("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(folder.File("cache").c_str(), 0700), 0);
    ASSERT_EQ(symlink(folder.File("elsewhere").c_str(), folder.File("cache/lumivane").c_str()), 0);
    testing::ScopedEnv cache("XDG_CACHE_HOME", folder.File("cache").c_str());
    std::string why;
    EXPECT_EQ(Recording().NextWallpaperFile(why), "");
    EXPECT_EQ(why, folder.File("cache/lumivane/") + " is not a folder of ours");
}

TEST(DesktopFromEnvironment, KnowsTheDesktopsByAnyNameInTheList) {
    EXPECT_EQ(DesktopFromEnvironment("ubuntu:GNOME"), DesktopKind::Gnome);
    EXPECT_EQ(DesktopFromEnvironment("Budgie:GNOME"), DesktopKind::Gnome);
    EXPECT_EQ(DesktopFromEnvironment("Unity"), DesktopKind::Gnome);
    EXPECT_EQ(DesktopFromEnvironment("X-Cinnamon"), DesktopKind::Cinnamon);
    EXPECT_EQ(DesktopFromEnvironment("MATE"), DesktopKind::Mate);
    EXPECT_EQ(DesktopFromEnvironment("kde"), DesktopKind::Kde);
    EXPECT_EQ(DesktopFromEnvironment("XFCE"), DesktopKind::Xfce);
    EXPECT_EQ(DesktopFromEnvironment("i3"), DesktopKind::Other);
    EXPECT_EQ(DesktopFromEnvironment(""), DesktopKind::Other);
    EXPECT_EQ(DesktopFromEnvironment(nullptr), DesktopKind::Other);
}

TEST_F(PosixWallpaperTest, GnomeSetsBothPictureKeysToTheFilesUri) {
    testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    PosixWallpaperService service = Recording();
    std::string why;
    EXPECT_TRUE(service.SetWallpaper("/home/sky/.cache/lumivane/wall paper%-1.bmp", picture, why)) << why;
    const std::string uri = "file:///home/sky/.cache/lumivane/wall%20paper%25-1.bmp";
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0], (std::vector<std::string>{"gsettings", "set", "org.gnome.desktop.background", "picture-uri", uri}));
    EXPECT_EQ(commands[1],
              (std::vector<std::string>{"gsettings", "set", "org.gnome.desktop.background", "picture-uri-dark", uri}));
    EXPECT_EQ(rootPaints, 0);

    // An older GNOME without the dark key: the wallpaper is still set.
    commands.clear();
    answer = [](const std::vector<std::string>& argv) {
        HelperResult r;
        r.started = true;
        r.exitCode = argv[3] == "picture-uri-dark" ? 1 : 0;
        r.output = "No such key \"picture-uri-dark\"\n";
        return r;
    };
    EXPECT_TRUE(service.SetWallpaper("/w.bmp", picture, why));
    EXPECT_EQ(rootPaints, 0);
    EXPECT_NE(Log().find("gsettings failed with exit code 1: No such key"), std::string::npos);
}

TEST_F(PosixWallpaperTest, CinnamonMateAndPlasmaUseTheirOwnKeysAndTool) {
    PosixWallpaperService service = Recording();
    std::string why;
    {
        testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "X-Cinnamon");
        EXPECT_TRUE(service.SetWallpaper("/w.bmp", picture, why));
    }
    {
        testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "MATE");
        EXPECT_TRUE(service.SetWallpaper("/w.bmp", picture, why));
    }
    {
        testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "KDE");
        EXPECT_TRUE(service.SetWallpaper("/w.bmp", picture, why));
    }
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0],
              (std::vector<std::string>{"gsettings", "set", "org.cinnamon.desktop.background", "picture-uri", "file:///w.bmp"}));
    EXPECT_EQ(commands[1], (std::vector<std::string>{"gsettings", "set", "org.mate.background", "picture-filename", "/w.bmp"}));
    EXPECT_EQ(commands[2], (std::vector<std::string>{"plasma-apply-wallpaperimage", "/w.bmp"}));
    EXPECT_EQ(rootPaints, 0);
}

TEST_F(PosixWallpaperTest, XfceSetsEveryMonitorsLastImage) {
    testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "XFCE");
    answer = [](const std::vector<std::string>& argv) {
        HelperResult r;
        r.started = true;
        r.exitCode = 0;
        if (argv.back() == "-l")
            r.output = "/backdrop/screen0/monitorHDMI-1/workspace0/image-style\n"
                       "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                       "/backdrop/screen0/monitoreDP-1/workspace0/last-image\n"
                       "/desktop-icons/style\n";
        return r;
    };
    PosixWallpaperService service = Recording();
    std::string why;
    EXPECT_TRUE(service.SetWallpaper("/w.bmp", picture, why)) << why;
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[1], (std::vector<std::string>{"xfconf-query", "-c", "xfce4-desktop", "-p",
                                                     "/backdrop/screen0/monitorHDMI-1/workspace0/last-image", "-s",
                                                     "/w.bmp"}));
    EXPECT_EQ(commands[2][4], "/backdrop/screen0/monitoreDP-1/workspace0/last-image");
    EXPECT_EQ(rootPaints, 0);
}

TEST_F(PosixWallpaperTest, AMissingOrFailingToolFallsBackToTheRootWindowAndSaysWhy) {
    PosixWallpaperService service = Recording();
    std::string why;
    {
        testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "KDE");
        answer = [](const std::vector<std::string>&) { return HelperResult(); };  // not installed
        EXPECT_TRUE(service.SetWallpaper("/w.bmp", picture, why));
        EXPECT_EQ(rootPaints, 1);
        EXPECT_NE(Log().find("plasma-apply-wallpaperimage is not installed; painting the X root window instead"),
                  std::string::npos);
    }
    {
        testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "XFCE");
        answer = [](const std::vector<std::string>&) {
            HelperResult r;
            r.started = true;
            r.exitCode = 0;  // lists no property at all
            return r;
        };
        EXPECT_TRUE(service.SetWallpaper("/w.bmp", picture, why));
        EXPECT_EQ(rootPaints, 2);
        EXPECT_NE(Log().find("xfconf-query set no last-image property"), std::string::npos);
    }
    {
        // A window manager without a desktop: straight to the root window; when that
        // fails too, the reason comes back.
        testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "i3");
        commands.clear();
        rootWorks = false;
        EXPECT_FALSE(service.SetWallpaper("/w.bmp", picture, why));
        EXPECT_EQ(why, "no X display to paint");
        EXPECT_TRUE(commands.empty());
        EXPECT_EQ(rootPaints, 3);
    }
}

// The memory backend lives and dies with each gsettings process, so what one process
// sets no other can read; the keyfile backend keeps the keys in a file we choose.
TEST_F(PosixWallpaperTest, GnomeKeysReallySetThroughGsettings) {
    if (!Installed("gsettings")) GTEST_SKIP() << "gsettings is not installed";
    testing::ScopedEnv config("XDG_CONFIG_HOME", folder.Path().c_str());
    testing::ScopedEnv backend("GSETTINGS_BACKEND", "keyfile");
    if (testing::RunCommand("gsettings list-keys org.gnome.desktop.background 2>/dev/null").output.find(
            "picture-uri-dark") == std::string::npos)
        GTEST_SKIP() << "the GNOME desktop schemas are not installed";
    testing::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "GNOME");
    PosixWallpaperService service(RunHelperCommand, [](const gfx::Image&, std::string& why) {
        why = "the root window must not be painted";
        return false;
    });
    std::string why;
    ASSERT_TRUE(service.SetWallpaper("/home/sky/.cache/lumivane/wallpaper-2.bmp", picture, why)) << why;
    EXPECT_EQ(testing::RunCommand("gsettings get org.gnome.desktop.background picture-uri").output,
              "'file:///home/sky/.cache/lumivane/wallpaper-2.bmp'\n");
    EXPECT_EQ(testing::RunCommand("gsettings get org.gnome.desktop.background picture-uri-dark").output,
              "'file:///home/sky/.cache/lumivane/wallpaper-2.bmp'\n");
}

}  // namespace
}  // namespace lumi
