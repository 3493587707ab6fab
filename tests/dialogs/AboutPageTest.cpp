#include "dialogs/AboutPage.h"

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "FakeControls.h"
#include "base/BuildInfo.h"
#include "dialogs/DialogIds.h"

namespace lumi {
namespace {

using dialogs::AboutPage;
using testing::FakeControls;

class AboutPageTest : public testing::DialogSettingsTest {
protected:
    FakeControls controls_;
};

TEST_F(AboutPageTest, ShowsVersionBuildAndPictures) {
    AboutPage page("", "");
    page.Open(controls_);
    EXPECT_EQ(controls_.Text(IDC_ABOUT_VERSION), "Version:\t4.21");
    EXPECT_EQ(controls_.Text(IDC_ABOUT_BUILD), "Build:\t" + BuildDate());
    EXPECT_EQ(controls_.Text(IDC_ABOUT_BUILD).size(), 6u + 11u);  // "Apr 17 2011"
    for (int id : {IDC_ABOUT_PICTURE_1, IDC_ABOUT_PICTURE_2, IDC_ABOUT_PICTURE_3, IDC_ABOUT_PICTURE_4}) {
        EXPECT_GT(controls_.controls[id].pictureWidth, 0) << id;
    }
}

TEST_F(AboutPageTest, HidesTheButtonsThatHaveNoAddress) {
    AboutPage page("", "");
    page.Open(controls_);
    EXPECT_FALSE(controls_.controls[IDC_ABOUT_NEWER].shown);
    EXPECT_FALSE(controls_.controls[IDC_ABOUT_CONTACT].shown);
    page.Command(controls_, IDC_ABOUT_NEWER);
    page.Command(controls_, IDC_ABOUT_CONTACT);
    EXPECT_TRUE(desktop_.urls.empty());

    FakeControls onlyWeb;
    AboutPage web("https://example.org/lumivane", "");
    web.Open(onlyWeb);
    EXPECT_TRUE(onlyWeb.controls[IDC_ABOUT_NEWER].shown);
    EXPECT_FALSE(onlyWeb.controls[IDC_ABOUT_CONTACT].shown);
}

TEST_F(AboutPageTest, TheButtonsOpenTheConfiguredAddresses) {
    AboutPage page("https://example.org/lumivane", "stars@example.org");
    page.Open(controls_);
    EXPECT_TRUE(controls_.controls[IDC_ABOUT_NEWER].shown);
    EXPECT_TRUE(controls_.controls[IDC_ABOUT_CONTACT].shown);
    controls_.Click(page, IDC_ABOUT_NEWER);
    controls_.Click(page, IDC_ABOUT_CONTACT);
    EXPECT_EQ(desktop_.urls, (std::vector<std::string>{"https://example.org/lumivane?CurrentUserVer=4.21",
                                                       "mailto:stars@example.org?subject=From a Lumivane user v4.21"}));
}

}  // namespace
}  // namespace lumi
