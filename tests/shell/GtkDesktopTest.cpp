// Where the settings program looks for its help page and which saver it starts.
#include "shell/gtk/GtkDesktop.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/TestSupport.h"

namespace lumi::gtkui {
namespace {

TEST(GtkDesktopTest, TheHelpPageIsLookedForBesideTheProgramThenInTheInstalledData) {
    const std::vector<std::string> expected = {"/opt/lv/bin/lumivan.htm", "/opt/lv/bin/../share/lumivane/lumivan.htm"};
    EXPECT_EQ(HelpPageCandidates("/opt/lv/bin/", "lumivan.htm", "/src/lumivane"), expected);
}

TEST(GtkDesktopTest, OnlyABuildFolderAlsoLooksInTheSources) {
    testing::TempFolder build;
    testing::WriteFile(build.File("CMakeCache.txt"), "# a build folder\n");
    const std::vector<std::string> places = HelpPageCandidates(build.Path(), "lumivan.htm", "/src/lumivane");
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0], build.Path() + "lumivan.htm");
    EXPECT_EQ(places[2], "/src/lumivane/resources/help/lumivan.htm");
}

TEST(GtkDesktopTest, ThePreviewIsTheSaverBesideTheProgramInAWindow) {
    const std::vector<std::string> expected = {"/usr/bin/lumivane", "-window"};
    EXPECT_EQ(PreviewCommand("/usr/bin/"), expected);
}

}  // namespace
}  // namespace lumi::gtkui
