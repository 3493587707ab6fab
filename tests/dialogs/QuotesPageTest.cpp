#include "dialogs/QuotesPage.h"

#include <gtest/gtest.h>

#include <string>

#include "DialogTestSupport.h"
#include "FakeControls.h"
#include "dialogs/DialogIds.h"
#include "media/Sound.h"

namespace lumi {
namespace {

using dialogs::QuotesPage;
using testing::FakeControls;

class QuotesPageTest : public testing::DialogSettingsTest {
protected:
    std::string Stored(const char* key) { return MainIni().ReadStringForUser("FPicture", key, "-"); }
    void Store(const char* key, const char* value) { MainIni().WriteStringForUser("FPicture", key, value); }
    bool FileControlsShownAndEnabled(bool expected) {
        bool all = true;
        for (int id : {IDC_QUOTE_FILE_NOTE, IDC_QUOTE_FILE_SIZE_NOTE, IDC_QUOTE_FILE, IDC_QUOTE_BROWSE}) {
            const auto& c = controls_.controls[id];
            all = all && c.shown == expected && c.enabled == expected;
        }
        return all;
    }

    RecordingSoundPlayer player_;
    FakeControls controls_;
    QuotesPage page_;
};

TEST_F(QuotesPageTest, OpensOnTheStoredChoiceAndApplyStoresItBack) {
    Store("Category", "5");
    Store("BMPFILE", "/pictures/me.bmp");
    Store("ShowEvery", "30");
    Store("BANNER", "Hello sky");
    Store("AutoText", "0");
    page_.Open(controls_);
    EXPECT_EQ(controls_.Text(IDC_QUOTE_CATEGORY), "Wise guy");
    EXPECT_GT(controls_.controls[IDC_QUOTE_PICTURE].pictureWidth, 0);
    EXPECT_EQ(controls_.Text(IDC_QUOTE_FILE), "/pictures/me.bmp");
    EXPECT_EQ(controls_.Text(IDC_QUOTE_SHOW_EVERY), "30");
    EXPECT_EQ(controls_.Text(IDC_QUOTE_BANNER), "Hello sky");
    EXPECT_FALSE(controls_.Checked(IDC_QUOTE_AUTOTEXT));
    EXPECT_TRUE(controls_.controls[IDC_QUOTE_AUTOTEXT].enabled);
    EXPECT_TRUE(controls_.controls[IDC_QUOTE_BANNER].enabled);
    EXPECT_TRUE(FileControlsShownAndEnabled(false));

    controls_.Click(page_, IDC_QUOTE_NEXT);  // 6, "Your quotes"
    controls_.Type(page_, IDC_QUOTE_BANNER, std::string(120, 'b'));
    controls_.Type(page_, IDC_QUOTE_SHOW_EVERY, " 45 ");
    page_.Apply(controls_);
    EXPECT_EQ(Stored("Category"), "6");
    // The page reads the banner back with size 99, so 97 characters are what it keeps.
    EXPECT_EQ(Stored("BANNER"), std::string(97, 'b'));
    EXPECT_EQ(Stored("ShowEvery"), "45");
    EXPECT_EQ(Stored("AutoText"), "0");
    EXPECT_EQ(Stored("BMPFILE"), "/pictures/me.bmp");
}

TEST_F(QuotesPageTest, WhatApplyStoresComesBackWholeToThePageAndTheFlyingPicture) {
    // The flying picture reads BMPFILE with size 199 (197 characters), the page BANNER
    // with size 99 (97 characters); a backslash is stored as two.
    Store("Category", "10");
    page_.Open(controls_);
    const std::string longest = "/" + std::string(192, 'p') + ".bmp";
    controls_.chosenFile = "/" + std::string(193, 'p') + ".bmp";
    controls_.Click(page_, IDC_QUOTE_BROWSE);
    EXPECT_EQ(controls_.Text(IDC_QUOTE_FILE), "");
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    controls_.chosenFile = longest;
    controls_.Click(page_, IDC_QUOTE_BROWSE);
    EXPECT_EQ(controls_.Text(IDC_QUOTE_FILE), longest);
    const std::string banner = "a\\b" + std::string(95, 'c');  // 98 characters, 99 stored
    controls_.Type(page_, IDC_QUOTE_BANNER, banner);
    page_.Apply(controls_);
    EXPECT_EQ(MainIni().ReadStringForUser("FPicture", "BMPFILE", "", 199), longest);
    EXPECT_EQ(Stored("BANNER"), banner.substr(0, 96));

    QuotesPage again;
    FakeControls reopened;
    again.Open(reopened);
    EXPECT_EQ(reopened.Text(IDC_QUOTE_BANNER), banner.substr(0, 96));
    EXPECT_EQ(reopened.Text(IDC_QUOTE_FILE), longest);

    // A path typed longer is stored as far as the flying picture reads it.
    reopened.Type(again, IDC_QUOTE_FILE, "/" + std::string(290, 'q'));
    again.Apply(reopened);
    EXPECT_EQ(Stored("BMPFILE"), "/" + std::string(196, 'q'));
}

TEST_F(QuotesPageTest, LettersInTheShowEveryBoxStore21) {
    page_.Open(controls_);
    EXPECT_EQ(controls_.Text(IDC_QUOTE_SHOW_EVERY), "20");
    controls_.Type(page_, IDC_QUOTE_SHOW_EVERY, "twenty");
    page_.Apply(controls_);
    EXPECT_EQ(Stored("ShowEvery"), "21");
}

TEST_F(QuotesPageTest, ACategoryWithoutQuotesSwitchesTheProgramsTextOffButKeepsTheStoredChoice) {
    Store("AutoText", "1");
    page_.Open(controls_);  // a new file's category: 12, "Just the sky"
    EXPECT_EQ(controls_.Text(IDC_QUOTE_CATEGORY), "Just the sky");
    EXPECT_FALSE(controls_.Checked(IDC_QUOTE_AUTOTEXT));
    EXPECT_FALSE(controls_.controls[IDC_QUOTE_AUTOTEXT].enabled);
    EXPECT_TRUE(controls_.controls[IDC_QUOTE_BANNER].enabled);
    EXPECT_EQ(Stored("AutoText"), "1");

    controls_.Click(page_, IDC_QUOTE_NEXT);  // 13, "Happy birthday", with quotes
    EXPECT_EQ(controls_.Text(IDC_QUOTE_CATEGORY), "Happy birthday");
    EXPECT_TRUE(controls_.Checked(IDC_QUOTE_AUTOTEXT));
    EXPECT_TRUE(controls_.controls[IDC_QUOTE_AUTOTEXT].enabled);
    EXPECT_FALSE(controls_.controls[IDC_QUOTE_BANNER].enabled);
    ASSERT_EQ(player_.played.size(), 1u);
    EXPECT_EQ(player_.played[0].number, 152);

    controls_.Click(page_, IDC_QUOTE_PREVIOUS);  // back to 12
    EXPECT_FALSE(controls_.Checked(IDC_QUOTE_AUTOTEXT));
    page_.Apply(controls_);
    EXPECT_EQ(Stored("AutoText"), "1");
    EXPECT_EQ(Stored("Category"), "12");
}

TEST_F(QuotesPageTest, TheProgramsTextIsWrittenAtOnceWhenClicked) {
    Store("Category", "4");
    page_.Open(controls_);
    EXPECT_TRUE(controls_.Checked(IDC_QUOTE_AUTOTEXT));
    controls_.Toggle(page_, IDC_QUOTE_AUTOTEXT);
    EXPECT_EQ(Stored("AutoText"), "0");
    EXPECT_TRUE(controls_.controls[IDC_QUOTE_BANNER].enabled);
    controls_.Toggle(page_, IDC_QUOTE_AUTOTEXT);
    EXPECT_EQ(Stored("AutoText"), "1");
    EXPECT_FALSE(controls_.controls[IDC_QUOTE_BANNER].enabled);
}

TEST_F(QuotesPageTest, OnlyTheOwnPictureCategoryOffersTheFile) {
    page_.Open(controls_);
    EXPECT_TRUE(FileControlsShownAndEnabled(false));
    controls_.Click(page_, IDC_QUOTE_PREVIOUS);  // 11 cannot be chosen: 10
    EXPECT_EQ(controls_.Text(IDC_QUOTE_CATEGORY), "Your picture -->");
    EXPECT_TRUE(FileControlsShownAndEnabled(true));

    controls_.Type(page_, IDC_QUOTE_FILE, "/old.bmp");
    controls_.chosenFile = "/pictures/cat.bmp";
    controls_.Click(page_, IDC_QUOTE_BROWSE);
    EXPECT_EQ(controls_.fileChooserStart, "/old.bmp");
    EXPECT_EQ(controls_.fileChooserTitles.back(), "Select your favorite picture");
    EXPECT_EQ(controls_.lastFilters.front().pattern, "*.BMP");
    EXPECT_EQ(controls_.Text(IDC_QUOTE_FILE), "/pictures/cat.bmp");
    controls_.chosenFile.reset();
    controls_.Click(page_, IDC_QUOTE_BROWSE);
    EXPECT_EQ(controls_.Text(IDC_QUOTE_FILE), "/pictures/cat.bmp");

    controls_.Click(page_, IDC_QUOTE_NEXT);
    EXPECT_TRUE(FileControlsShownAndEnabled(false));
    EXPECT_TRUE(boxes_.boxes.empty());
}

}  // namespace
}  // namespace lumi
