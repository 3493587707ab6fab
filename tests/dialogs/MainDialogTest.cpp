#include "dialogs/MainDialog.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "../common/TestSupport.h"
#include "FakeControls.h"
#include "content/MessageStore.h"
#include "dialogs/DialogIds.h"
#include "settings/IniFile.h"

namespace lumi {
namespace {

using dialogs::MainDialog;
using testing::FakeControls;

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
    void TearDown() override { ResetMainIni(); }

    testing::TempFolder folder_;
    testing::RecordingMessageBoxes boxes_;
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

}  // namespace
}  // namespace lumi
