#include "dialogs/Choosers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "FakeControls.h"
#include "support/ErrorReport.h"

namespace lumi {
namespace {

using testing::FakeControls;

class ChoosersTest : public testing::DialogSettingsTest {
protected:
    void SetUp() override {
        DialogSettingsTest::SetUp();
        ResetErrorReports();
    }
    void TearDown() override {
        ResetErrorReports();
        DialogSettingsTest::TearDown();
    }
    bool Logged(const std::string& line) const { return LogText().find(line) != std::string::npos; }

    FakeControls owner_;
};

TEST_F(ChoosersTest, TheFileChooserFiltersByKindWithoutRegardToCase) {
    const auto wav = dialogs::FileFiltersFor("wav");
    ASSERT_EQ(wav.size(), 2u);
    EXPECT_EQ(wav[0].label, "WAV files (*.WAV)");
    EXPECT_EQ(wav[0].pattern, "*.WAV");
    EXPECT_EQ(wav[1].label, "All files (*.*)");
    EXPECT_EQ(wav[1].pattern, "*.*");
    const auto mid = dialogs::FileFiltersFor("Mid");
    ASSERT_EQ(mid.size(), 2u);
    EXPECT_EQ(mid[0].label, "MIDI files (*.MID)");
    EXPECT_EQ(mid[1].pattern, "*.*");
    const auto bmp = dialogs::FileFiltersFor("BMP");
    ASSERT_EQ(bmp.size(), 1u);
    EXPECT_EQ(bmp[0].label, "BMP files (*.BMP)");
}

TEST_F(ChoosersTest, AFileBufferOf260OrLessIsReportedAndTheChooserStillOpens) {
    std::string path = "/start.bmp";
    owner_.chosenFile = "/pictures/moon.bmp";
    EXPECT_TRUE(dialogs::ChooseFile(owner_, "Pick", "BMP", path, 260));
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].caption, "PROBLEM");
    EXPECT_EQ(boxes_.boxes[0].text, "Internal error #2394");
    EXPECT_EQ(owner_.fileChooserStart, "/start.bmp");
    EXPECT_EQ(path, "/pictures/moon.bmp");

    boxes_.boxes.clear();
    EXPECT_TRUE(dialogs::ChooseFile(owner_, "Pick", "BMP", path, 261));
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(ChoosersTest, ACancelledOrFailedFileChooserIsLoggedByNameAndKeepsThePath) {
    std::string path = "/kept.wav";
    EXPECT_FALSE(dialogs::ChooseFile(owner_, "Pick", "WAV", path, 300));
    EXPECT_EQ(path, "/kept.wav");
    EXPECT_TRUE(Logged("CommDlgError: UNKNOWN"));

    owner_.chooseFileError = 0x3003;
    EXPECT_FALSE(dialogs::ChooseFile(owner_, "Pick", "WAV", path, 300));
    EXPECT_TRUE(Logged("CommDlgError: FNERR_BUFFERTOOSMALL"));

    // A choice longer than the buffer holds (299 characters here) is refused, not cut.
    owner_.chooseFileError = 0;
    owner_.chosenFile = "/" + std::string(299, 'f');
    EXPECT_FALSE(dialogs::ChooseFile(owner_, "Pick", "WAV", path, 300));
    EXPECT_EQ(path, "/kept.wav");
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_NE(boxes_.boxes[0].text.find("too long"), std::string::npos);
    boxes_.boxes.clear();
    owner_.chosenFile = "/" + std::string(298, 'f');
    EXPECT_TRUE(dialogs::ChooseFile(owner_, "Pick", "WAV", path, 300));
    EXPECT_EQ(path.size(), 299u);
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(ChoosersTest, APathThatItsKeyWouldReadBackCutIsRefusedWithAMessage) {
    // Read with size 300, a key gives back 298 stored characters, a backslash taking two.
    std::string path = "/kept.wav";
    owner_.chosenFile = "/" + std::string(298, 'f');
    EXPECT_FALSE(dialogs::ChooseFile(owner_, "Pick", "WAV", path, 300, 300));
    EXPECT_EQ(path, "/kept.wav");
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_NE(boxes_.boxes[0].text.find(*owner_.chosenFile), std::string::npos);
    EXPECT_TRUE(Logged("the chosen path is too long"));
    boxes_.boxes.clear();
    owner_.chosenFile = "C:\\" + std::string(295, 'f');
    EXPECT_FALSE(dialogs::ChooseFile(owner_, "Pick", "WAV", path, 300, 300));
    owner_.chosenFile = "C:\\" + std::string(294, 'f');
    EXPECT_TRUE(dialogs::ChooseFile(owner_, "Pick", "WAV", path, 300, 300));
    EXPECT_EQ(path, *owner_.chosenFile);
    EXPECT_EQ(boxes_.boxes.size(), 1u);

    boxes_.boxes.clear();
    path = "/old";
    owner_.chosenFolder = "/" + std::string(253, 'd');
    EXPECT_FALSE(dialogs::ChooseFolder(owner_, "t", path, 260, 255));
    EXPECT_EQ(path, "/old");
    EXPECT_EQ(boxes_.boxes.size(), 1u);
    owner_.chosenFolder = "/" + std::string(252, 'd');
    EXPECT_TRUE(dialogs::ChooseFolder(owner_, "t", path, 260, 255));
    EXPECT_EQ(path.size(), 253u);
}

TEST_F(ChoosersTest, AFolderBufferBelow260IsReported) {
    std::string path = "/old";
    owner_.chosenFolder = "/home/me/Holidays";
    EXPECT_TRUE(dialogs::ChooseFolder(owner_, "containing wallpaper pictures", path, 259));
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "Internal error #7724");
    EXPECT_EQ(path, "/home/me/Holidays");

    boxes_.boxes.clear();
    EXPECT_TRUE(dialogs::ChooseFolder(owner_, "t", path, 260));
    EXPECT_TRUE(boxes_.boxes.empty());
    owner_.chosenFolder.reset();
    path = "/old";
    EXPECT_FALSE(dialogs::ChooseFolder(owner_, "t", path, 260));
    EXPECT_EQ(path, "/old");
}

TEST_F(ChoosersTest, AMailLinkOfAtMost4999CharactersOpensAndALongerOneIsReported) {
    dialogs::SendMail("stars@example.org", "Hello & good night");
    ASSERT_EQ(desktop_.urls.size(), 1u);
    EXPECT_EQ(desktop_.urls[0], "mailto:stars@example.org?subject=Hello & good night");

    // 17 + 4982 = 4999 characters together still go.
    dialogs::SendMail("stars@example.org", std::string(4982, 's'));
    EXPECT_EQ(desktop_.urls.size(), 2u);
    EXPECT_TRUE(boxes_.boxes.empty());
    dialogs::SendMail("stars@example.org", std::string(4983, 's'));
    EXPECT_EQ(desktop_.urls.size(), 2u);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "Internal error #4112");
}

TEST_F(ChoosersTest, ADialogThatCannotBeShownSaysSoAndItsResultIsPassedOn) {
    struct Quiet : dialogs::DialogLogic {
        void Open(dialogs::Controls&) override {}
        void Command(dialogs::Controls&, int) override {}
    } quiet;
    owner_.onModal = [](int, dialogs::DialogLogic&) { return 1; };
    EXPECT_EQ(dialogs::ModalDialog(owner_, 2012, quiet), 1);
    EXPECT_TRUE(boxes_.boxes.empty());
    owner_.onModal = [](int, dialogs::DialogLogic&) { return -1; };
    EXPECT_EQ(dialogs::ModalDialog(owner_, 2012, quiet), -1);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].caption, "PROBLEM");
    EXPECT_EQ(boxes_.boxes[0].text, "Dialog Box returned -1");
    EXPECT_EQ(owner_.modals, (std::vector<int>{2012, 2012}));
}

// Records boxes and, while the first one is up, runs something that wants another box.
class ReenteringBoxes : public MessageBoxService {
public:
    ReenteringBoxes() : previous_(&MessageBoxes()) { SetMessageBoxes(this); }
    ~ReenteringBoxes() override { SetMessageBoxes(previous_); }
    BoxResult Show(WindowHandle, const std::string& text, const std::string&, BoxIcon, BoxButtons) override {
        texts.push_back(text);
        if (texts.size() == 1 && whileUp) whileUp();
        return BoxResult::Ok;
    }
    std::vector<std::string> texts;
    std::function<void()> whileUp;

private:
    MessageBoxService* previous_;
};

TEST_F(ChoosersTest, OnlyOneProblemBoxIsUpAtATimeWhateverRaisedIt) {
    struct Quiet : dialogs::DialogLogic {
        void Open(dialogs::Controls&) override {}
        void Command(dialogs::Controls&, int) override {}
    } quiet;
    owner_.onModal = [](int, dialogs::DialogLogic&) { return -1; };

    {
        ReenteringBoxes boxes;
        boxes.whileUp = [&] { dialogs::ModalDialog(owner_, 2016, quiet); };
        InternalError(nullptr, 821);
        EXPECT_EQ(boxes.texts, std::vector<std::string>{"Internal error #821"});
    }
    {
        ReenteringBoxes boxes;
        boxes.whileUp = [] { InternalError(nullptr, 822); };
        dialogs::ModalDialog(owner_, 2016, quiet);
        EXPECT_EQ(boxes.texts, std::vector<std::string>{"Dialog Box returned -1"});
        // Once it is closed, the next one shows again.
        InternalError(nullptr, 822);
        EXPECT_EQ(boxes.texts.size(), 2u);
    }
}

}  // namespace
}  // namespace lumi
