#include "dialogs/MainDialog.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "../common/TestSupport.h"
#include "FakeControls.h"
#include "base/Random.h"
#include "content/MessageStore.h"
#include "dialogs/DialogIds.h"
#include "dialogs/EmailDialog.h"
#include "gfx/BmpReader.h"
#include "media/Sound.h"
#include "settings/IniFile.h"

namespace lumi {
namespace {

using dialogs::MainDialog;
using testing::FakeControls;

// Opening draws twice: the settings store's self-test, then the joke's one in seven.
// Seed 3 draws 48 and 7196 (7196 * 7 / 32768 = 1.54: armed); seed 1 draws 41 and 18467
// (3.9: not armed), the C library's well-known first values.
constexpr uint32_t kSeedArms = 3;
constexpr uint32_t kSeedStays = 1;

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainIni();
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder_), 0);
        // The dialog opens the file itself, as on a first run.
        std::remove(folder_.File("Lumivan.ini").c_str());
        ResetMainIni();
        ResetMessageStore();
    }
    void TearDown() override {
        ResetMainIni();
        ResetRandomSeed();
    }

    // Opens the dialog with the OK button where a template would put it.
    void OpenWithJokes(MainDialog& dialog, bool jokes, uint32_t seed) {
        ResetMainIni();
        ASSERT_EQ(MainIni().Init(folder_.Path(), "Lumivan.ini"), 0);
        MainIni().WriteUIntForUser("params", "Jokes", jokes ? 1 : 0);
        ResetMainIni();
        SeedRandom(seed);
        controls_.controls[IDC_OK].rect = {300, 340, 80, 40};
        controls_.controls[IDC_MAIN_PICTURE_AREA].rect = {20, 200, 202, 152};
        dialog.Open(controls_);
    }
    // The pointer just left of the OK button's left edge, on the timer.
    void Approach(MainDialog& dialog) {
        const dialogs::Rect ok = controls_.controls[IDC_OK].rect;
        controls_.cursor = {ok.x - 5, ok.y + 20};
        dialog.Timer(controls_, 2);
    }

    testing::TempFolder folder_;
    testing::RecordingMessageBoxes boxes_;
    RecordingSoundPlayer sounds_;
    FakeControls controls_;
};

TEST_F(MainDialogTest, OpensReadyToTypeAndOkStoresTheMainMessage) {
    FakeControls controls;
    MainDialog dialog(folder_.Path());
    dialog.Open(controls);
    EXPECT_EQ(controls.caption, "Lumivane Screensaver v4.21");
    EXPECT_EQ(controls.Text(IDC_OK), "Ok");
    EXPECT_EQ(controls.Text(IDC_CANCEL), "Ooops... Cancel");
    EXPECT_EQ(controls.focus, IDC_MAIN_MESSAGE);
    EXPECT_TRUE(controls.focusSelectsAll);
    EXPECT_EQ(controls.Text(IDC_MAIN_MESSAGE), "Your\r\n   name\r\n    here");

    controls.Type(dialog, IDC_MAIN_MESSAGE, "Good night");
    controls.Click(dialog, IDC_OK);
    EXPECT_EQ(controls.ended, 1);
    EXPECT_EQ(MainIni().ReadStringForUser("Messages", "Message___0", ""), "Good night");
}

// A window that may be gone once it was told to end: nothing may touch it afterwards.
class EndingControls : public FakeControls {
public:
    void Repaint(int id) override {
        if (ended) ++touchedAfterEnd;
        FakeControls::Repaint(id);
    }
    void SetText(int id, const std::string& text) override {
        if (ended) ++touchedAfterEnd;
        FakeControls::SetText(id, text);
    }
    int touchedAfterEnd = 0;
};

TEST_F(MainDialogTest, NothingTouchesTheWindowAfterOkOrCancelEndedIt) {
    for (int button : {IDC_OK, IDC_CANCEL}) {
        EndingControls controls;
        MainDialog dialog(folder_.Path());
        dialog.Open(controls);
        controls.Click(dialog, button);
        ASSERT_TRUE(controls.ended.has_value()) << button;
        EXPECT_EQ(controls.touchedAfterEnd, 0) << button;
    }
}

TEST_F(MainDialogTest, CancelStoresNothing) {
    FakeControls controls;
    MainDialog dialog(folder_.Path());
    dialog.Open(controls);
    const long jokes = MainIni().ReadIntForUser("params", "Jokes", 7);
    controls.Type(dialog, IDC_MAIN_MESSAGE, "Never stored");
    controls.Toggle(dialog, IDC_MAIN_JOKES);
    controls.Click(dialog, IDC_CANCEL);
    EXPECT_EQ(controls.ended, 0);
    EXPECT_EQ(MainIni().ReadStringForUser("Messages", "Message___0", ""), "Your\r\n   name\r\n    here");
    EXPECT_EQ(MainIni().ReadIntForUser("params", "Jokes", 7), jokes);
}

TEST_F(MainDialogTest, WithoutJokesTheOkButtonNeverRunsAway) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedArms);
    EXPECT_FALSE(dialog.Runaway().Armed());
    EXPECT_EQ(controls_.timers.count(2), 0u);
    Approach(dialog);
    EXPECT_EQ(controls_.moves, 0);
    controls_.Click(dialog, IDC_OK);
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(MainDialogTest, WithJokesOneOpeningInSevenArmsTheButton) {
    MainDialog staying(folder_.Path());
    OpenWithJokes(staying, true, kSeedStays);
    EXPECT_FALSE(staying.Runaway().Armed());
    EXPECT_TRUE(controls_.Checked(IDC_MAIN_JOKES));

    MainDialog running(folder_.Path());
    OpenWithJokes(running, true, kSeedArms);
    ASSERT_TRUE(running.Runaway().Armed());
    EXPECT_EQ(controls_.timers.at(2), 100);
    Approach(running);
    // From (300, 340): 50 pixels to the right, the sound of the escape.
    EXPECT_EQ(controls_.controls[IDC_OK].rect.x, 350);
    EXPECT_EQ(running.Runaway().Attempts(), 1);
    ASSERT_FALSE(sounds_.played.empty());
    EXPECT_EQ(sounds_.played.back().number, 188);
    Approach(running);
    Approach(running);
    EXPECT_EQ(running.Runaway().Attempts(), 3);

    // Hit at last: the fanfare and the box with the count, then the switches are stored.
    controls_.Click(running, IDC_OK);
    EXPECT_EQ(sounds_.played.back().number, 183);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].caption, "CONGRATULATIONS!");
    EXPECT_EQ(boxes_.boxes[0].text, "You were able to hit the button with 3 attempts!");
    EXPECT_EQ(controls_.ended, 1);
    EXPECT_EQ(controls_.timers.count(2), 0u);
}

// Records each box together with what the settings held while it was up.
class BoxesWithSettings : public MessageBoxService {
public:
    BoxesWithSettings() : previous_(&MessageBoxes()) { SetMessageBoxes(this); }
    ~BoxesWithSettings() override { SetMessageBoxes(previous_); }
    BoxResult Show(WindowHandle, const std::string& text, const std::string& caption, BoxIcon, BoxButtons) override {
        seen.push_back(caption + "|" + text + "|jokes " +
                       std::to_string(MainIni().ReadIntForUser("params", "Jokes", -1)) + "|unlock " +
                       MainIni().ReadStringForUser("Messages", "DecryptPassword", "-"));
        return BoxResult::Ok;
    }
    std::vector<std::string> seen;

private:
    MessageBoxService* previous_;
};

TEST_F(MainDialogTest, OkUnlocksFirstThenCongratulatesThenStoresTheSwitches) {
    // A secret message that the main bottom line "Moon" opens.
    ASSERT_EQ(MainIni().Init(folder_.Path(), "Lumivan.ini"), 0);
    MessageStore writer;
    writer.SetCurrentIndex(1);
    writer.SetMessage("HEART");
    writer.SetBottomLine("for you");
    writer.SetPassword("Moon");
    writer.Write();
    ResetMainIni();

    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, true, kSeedArms);
    ASSERT_TRUE(dialog.Runaway().Armed());
    controls_.Toggle(dialog, IDC_MAIN_JOKES);  // off, stored only by OK
    controls_.Type(dialog, IDC_MAIN_BOTTOMLINE, "Moon");
    sounds_.played.clear();
    BoxesWithSettings boxes;
    controls_.Click(dialog, IDC_OK);

    // The unlocking's box, then its password stored, then the joke's box; the switches last.
    EXPECT_EQ(boxes.seen, (std::vector<std::string>{
                              "You found a password !|You have 1 secret message(s).|jokes 1|unlock -",
                              "CONGRATULATIONS!|You were able to hit the button with 0 attempts!|jokes 1|unlock Moon",
                          }));
    ASSERT_EQ(sounds_.played.size(), 2u);
    EXPECT_EQ(sounds_.played[0].number, 130);
    EXPECT_EQ(sounds_.played[1].number, 183);
    EXPECT_EQ(MainIni().ReadIntForUser("params", "Jokes", -1), 0);
    EXPECT_EQ(MainIni().ReadStringForUser("Messages", "BottomLine0", ""), "Moon");
    EXPECT_EQ(controls_.ended, 1);
}

TEST_F(MainDialogTest, TheButtonKeepsStillWhileAnotherWindowIsUp) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, true, kSeedArms);
    ASSERT_TRUE(dialog.Runaway().Armed());
    int movesDuring = -1;
    auto tryToMove = [&]() {
        const int before = controls_.moves;
        Approach(dialog);
        movesDuring = controls_.moves - before;
    };
    controls_.whileChoosing = tryToMove;
    controls_.Click(dialog, IDC_MAIN_FONT);
    EXPECT_EQ(movesDuring, 0);
    movesDuring = -1;
    controls_.Click(dialog, IDC_MAIN_PICTURE);
    EXPECT_EQ(movesDuring, 0);
    movesDuring = -1;
    controls_.onModal = [&](int, dialogs::DialogLogic&) {
        tryToMove();
        return 0;
    };
    controls_.Toggle(dialog, IDC_MAIN_EMAIL);
    EXPECT_EQ(movesDuring, 0);
    movesDuring = -1;
    controls_.onSheet = [&](const std::string&, const std::vector<dialogs::SheetPage>&) { tryToMove(); };
    controls_.Click(dialog, IDC_MAIN_OPTIONS);
    EXPECT_EQ(movesDuring, 0);
    EXPECT_EQ(dialog.Runaway().Attempts(), 0);

    // Back in the main dialog it runs again, and every command repainted the button.
    EXPECT_FALSE(dialog.Runaway().Paused());
    EXPECT_GE(controls_.controls[IDC_OK].repaints, 4);
    Approach(dialog);
    EXPECT_EQ(dialog.Runaway().Attempts(), 1);
}

TEST_F(MainDialogTest, TheEmailDialogOpensOnlyWhenTheBoxBecomesChecked) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedStays);
    controls_.Toggle(dialog, IDC_MAIN_EMAIL);
    EXPECT_EQ(controls_.modals, std::vector<int>{IDD_EMAIL});
    controls_.Toggle(dialog, IDC_MAIN_EMAIL);
    EXPECT_EQ(controls_.modals.size(), 1u);
    // A dialog that cannot be shown says so.
    controls_.onModal = [](int, dialogs::DialogLogic&) { return -1; };
    controls_.Toggle(dialog, IDC_MAIN_EMAIL);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "Dialog Box returned -1");
}

TEST_F(MainDialogTest, SwitchingAirplanesAndJokesOnPlaysTheirSoundsAndStoresNothingYet) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedStays);
    ASSERT_TRUE(controls_.Checked(IDC_MAIN_AIRPLANES));  // on by default
    controls_.Toggle(dialog, IDC_MAIN_AIRPLANES);
    EXPECT_TRUE(sounds_.played.empty());
    controls_.Toggle(dialog, IDC_MAIN_AIRPLANES);
    controls_.Toggle(dialog, IDC_MAIN_JOKES);
    ASSERT_EQ(sounds_.played.size(), 2u);
    EXPECT_EQ(sounds_.played[0].number, 140);
    EXPECT_EQ(sounds_.played[1].number, 187);
    EXPECT_EQ(MainIni().ReadIntForUser("params", "Jokes", 7), 0);
}

TEST_F(MainDialogTest, TheMoonIsStoredAtOnceAndRulesTheSouthernHemisphere) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedStays);
    EXPECT_TRUE(controls_.Checked(IDC_MAIN_MOON));
    EXPECT_TRUE(controls_.controls[IDC_MAIN_SOUTHERN].enabled);
    controls_.Toggle(dialog, IDC_MAIN_MOON);
    EXPECT_FALSE(controls_.controls[IDC_MAIN_SOUTHERN].enabled);
    EXPECT_EQ(MainIni().ReadIntForUser("Params", "Moon", 7), 0);
    // Even a Cancel keeps it.
    controls_.Click(dialog, IDC_CANCEL);
    EXPECT_EQ(MainIni().ReadIntForUser("Params", "Moon", 7), 0);

    ResetMainIni();
    ResetMessageStore();
    FakeControls second;
    MainDialog again(folder_.Path());
    again.Open(second);
    EXPECT_FALSE(second.Checked(IDC_MAIN_MOON));
    EXPECT_FALSE(second.controls[IDC_MAIN_SOUTHERN].enabled);
    second.Toggle(again, IDC_MAIN_MOON);
    EXPECT_TRUE(second.controls[IDC_MAIN_SOUTHERN].enabled);
    EXPECT_EQ(MainIni().ReadIntForUser("Params", "Moon", 7), 1);
}

TEST_F(MainDialogTest, OkStoresTheFourSwitchesAndTheNextOpeningShowsThem) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedStays);
    EXPECT_FALSE(controls_.Checked(IDC_MAIN_SOUTHERN));
    EXPECT_FALSE(controls_.Checked(IDC_MAIN_EMAIL));
    controls_.Toggle(dialog, IDC_MAIN_AIRPLANES);  // off
    controls_.Toggle(dialog, IDC_MAIN_JOKES);      // on
    controls_.Toggle(dialog, IDC_MAIN_SOUTHERN);   // on
    controls_.onModal = [](int, dialogs::DialogLogic&) { return 0; };
    controls_.Toggle(dialog, IDC_MAIN_EMAIL);  // on
    controls_.Type(dialog, IDC_MAIN_BOTTOMLINE, "Sleep well");
    controls_.Click(dialog, IDC_OK);

    ResetMainIni();
    ASSERT_EQ(MainIni().Init(folder_.Path(), "Lumivan.ini"), 0);
    EXPECT_EQ(MainIni().ReadIntForUser("params", "Airplanes", 7), 0);
    EXPECT_EQ(MainIni().ReadIntForUser("params", "Jokes", 7), 1);
    EXPECT_EQ(MainIni().ReadIntForUser("params", "SouthernHemisphere", 7), 1);
    EXPECT_EQ(MainIni().ReadIntForUser("Email", "Enabled", 7), 1);

    ResetMainIni();
    ResetMessageStore();
    SeedRandom(kSeedStays);
    FakeControls second;
    MainDialog again(folder_.Path());
    again.Open(second);
    EXPECT_FALSE(second.Checked(IDC_MAIN_AIRPLANES));
    EXPECT_TRUE(second.Checked(IDC_MAIN_JOKES));
    EXPECT_TRUE(second.Checked(IDC_MAIN_SOUTHERN));
    EXPECT_TRUE(second.Checked(IDC_MAIN_EMAIL));
    EXPECT_EQ(second.Text(IDC_MAIN_BOTTOMLINE), "Sleep well");
}

TEST_F(MainDialogTest, TheMessageAndBottomLineAreCutToWhatTheStoreKeeps) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedStays);
    controls_.Type(dialog, IDC_MAIN_MESSAGE, std::string(120, 'm'));
    controls_.Type(dialog, IDC_MAIN_BOTTOMLINE, std::string(400, 'b'));
    controls_.Click(dialog, IDC_OK);
    EXPECT_EQ(MainIni().ReadStringForUser("Messages", "Message___0", ""), std::string(98, 'm'));
    EXPECT_EQ(MainIni().ReadStringForUser("Messages", "BottomLine0", "").size(), 298u);
}

TEST_F(MainDialogTest, TheMainMessageReachesTheBoxWithTheBoxesLineBreaks) {
    // A message with bare line feeds, as another program or a hand edit may leave it.
    ASSERT_EQ(MainIni().Init(folder_.Path(), "Lumivan.ini"), 0);
    MainIni().WriteStringForUser("Messages", "Message___0", "Top\nBottom");
    MainIni().WriteStringForUser("Messages", "BottomLine0", "under\nthe moon");
    ResetMainIni();
    FakeControls controls;
    MainDialog dialog(folder_.Path());
    dialog.Open(controls);
    EXPECT_EQ(controls.Text(IDC_MAIN_MESSAGE), "Top\r\nBottom");
    EXPECT_EQ(controls.Text(IDC_MAIN_BOTTOMLINE), "under\r\nthe moon");
}

TEST_F(MainDialogTest, CancellingThePictureChooserGoesBackToTheBuiltInPicture) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedStays);
    const std::string own = folder_.File("own.bmp");
    ASSERT_TRUE(gfx::WriteBmpFile(own, *gfx::Image::Create(400, 300, 0xFF0000)));

    controls_.chosenFile = own;
    controls_.Click(dialog, IDC_MAIN_PICTURE);
    EXPECT_EQ(controls_.fileChooserTitles.back(), "Select your favorite picture");
    ASSERT_EQ(controls_.lastFilters.size(), 1u);
    EXPECT_EQ(controls_.lastFilters[0].pattern, "*.BMP");
    EXPECT_EQ(MainIni().ReadStringForUser("Params", "UPIC", ""), own);
    EXPECT_GE(controls_.controls[IDC_MAIN_PICTURE_AREA].repaints, 1);
    dialog.Paint(controls_);
    // 400 × 300 into 200 × 150: exactly half, filling the area.
    ASSERT_EQ(controls_.drawn.size(), 1u);
    EXPECT_EQ(controls_.drawn[0].imageWidth, 400);
    EXPECT_EQ(controls_.drawn[0].dest.width, 200);
    EXPECT_EQ(controls_.drawn[0].dest.height, 150);

    // The chooser starts from the stored picture; a cancel empties it.
    controls_.chosenFile.reset();
    controls_.Click(dialog, IDC_MAIN_PICTURE);
    EXPECT_EQ(controls_.fileChooserStart, own);
    EXPECT_EQ(MainIni().ReadStringForUser("Params", "UPIC", "unset"), "");
    dialog.Paint(controls_);
    ASSERT_EQ(controls_.drawn.size(), 2u);
    EXPECT_EQ(controls_.drawn[1].imageWidth, 120);  // the built-in 206, at its own size
    EXPECT_EQ(controls_.drawn[1].imageHeight, 100);
    EXPECT_EQ(controls_.drawn[1].dest.x, 41);
    EXPECT_EQ(controls_.drawn[1].dest.y, 26);
}

TEST_F(MainDialogTest, APicturePathThePictureAreaWouldReadBackCutIsRefused) {
    // The area reads UPIC with size 301: 299 stored characters, a backslash taking two.
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedStays);
    controls_.chosenFile = "C:\\" + std::string(296, 'p');
    controls_.Click(dialog, IDC_MAIN_PICTURE);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_NE(boxes_.boxes[0].text.find("too long"), std::string::npos);
    EXPECT_EQ(MainIni().ReadStringForUser("Params", "UPIC", ""), "");

    controls_.chosenFile = "C:\\" + std::string(295, 'p');
    controls_.Click(dialog, IDC_MAIN_PICTURE);
    EXPECT_EQ(MainIni().ReadStringForUser("Params", "UPIC", "", dialogs::PictureArea::kPathRead),
              *controls_.chosenFile);
    EXPECT_EQ(boxes_.boxes.size(), 1u);
}

TEST_F(MainDialogTest, FontOptionsAndHelpReachTheirWindows) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedStays);
    dialogs::FontChoice font;
    font.face = "Liberation Serif";
    font.pointSize = 12;
    controls_.chosenFont = font;
    const int repaints = controls_.controls[0].repaints;
    controls_.Click(dialog, IDC_MAIN_FONT);
    EXPECT_EQ(MainIni().ReadStringForUser("Font", "Font", ""), "Liberation Serif");
    EXPECT_GT(controls_.controls[0].repaints, repaints);

    controls_.Click(dialog, IDC_MAIN_OPTIONS);
    ASSERT_EQ(controls_.sheets.size(), 1u);
    EXPECT_EQ(controls_.sheets[0], "Lumivane Screensaver v4.21 - Much More Options");

    controls_.Click(dialog, IDC_MAIN_HELP);
    EXPECT_EQ(controls_.helpPages, std::vector<std::string>{"lumivan.htm"});
}

TEST_F(MainDialogTest, ThePictureIsReleasedWhenTheDialogEnds) {
    MainDialog dialog(folder_.Path());
    OpenWithJokes(dialog, false, kSeedStays);
    dialog.Paint(controls_);
    // A new picture stored behind the dialog's back shows only after a fresh load.
    const std::string own = folder_.File("later.bmp");
    ASSERT_TRUE(gfx::WriteBmpFile(own, *gfx::Image::Create(30, 20, 0xFF)));
    MainIni().WriteStringForUser("Params", "UPIC", own);
    dialog.Paint(controls_);
    EXPECT_EQ(controls_.drawn.back().imageWidth, 120);
    controls_.Click(dialog, IDC_CANCEL);
    dialog.Paint(controls_);
    EXPECT_EQ(controls_.drawn.back().imageWidth, 30);
}

}  // namespace
}  // namespace lumi
