#include "dialogs/StarMessagesPage.h"

#include <gtest/gtest.h>

#include <string>

#include "DialogTestSupport.h"
#include "FakeControls.h"
#include "base/Random.h"
#include "content/MessageStore.h"
#include "dialogs/DialogIds.h"

namespace lumi {
namespace {

using dialogs::StarMessagesPage;
using testing::FakeControls;

// Slots as the first run leaves them: 0 the main message, 1 "PEACE", 2 "HEART".
class StarMessagesPageTest : public testing::DialogSettingsTest {
protected:
    std::string Stored(const std::string& key) { return MainIni().ReadStringForUser("Messages", key, "-"); }
    // A slot as the saver reads it, passwords unscrambled.
    std::string Slot(int i) {
        MessageStore reader;
        reader.SetCurrentIndex(i);
        reader.Read();
        return reader.Message() + "|" + reader.BottomLine() + "|" + reader.Password();
    }
    std::string Shown() {
        return controls_.Text(IDC_STAR_MESSAGE) + "|" + controls_.Text(IDC_STAR_BOTTOMLINE) + "|" +
               controls_.Text(IDC_STAR_PASSWORD);
    }
    std::string Position() { return controls_.Text(IDC_STAR_POSITION); }
    bool Editable() { return controls_.controls[IDC_STAR_MESSAGE].enabled; }
    // The nested dialog is opened, typed into and confirmed (or cancelled) by the user.
    void AnswerModal(const std::function<void(FakeControls&, dialogs::DialogLogic&)>& user) {
        controls_.onModal = [user](int, dialogs::DialogLogic& logic) {
            FakeControls inner;
            logic.Open(inner);
            user(inner, logic);
            return inner.ended.value_or(-1);
        };
    }

    FakeControls controls_;
    StarMessagesPage page_;
};

TEST_F(StarMessagesPageTest, OpensOnTheFirstFurtherMessage) {
    page_.Open(controls_);
    EXPECT_EQ(Shown(), "PEACE|Peace|");
    EXPECT_EQ(Position(), "Message 1 of 2");
    for (int id : {IDC_STAR_MESSAGE, IDC_STAR_BOTTOMLINE, IDC_STAR_PASSWORD, IDC_STAR_HEART, IDC_STAR_HAPPY,
                   IDC_STAR_PEACE, IDC_STAR_STAR, IDC_STAR_COUNTDOWN, IDC_STAR_DAY_COUNTER, IDC_STAR_TIME,
                   IDC_STAR_WORLD_TIME}) {
        EXPECT_TRUE(controls_.controls[id].enabled) << id;
    }
    EXPECT_TRUE(controls_.Checked(IDC_STAR_PREFER_HAPPY));
    EXPECT_TRUE(controls_.Checked(IDC_STAR_PREFER_PEACE));
    EXPECT_FALSE(controls_.Checked(IDC_STAR_RANDOM));
    EXPECT_FALSE(controls_.Checked(IDC_STAR_FORMAT24));

    // Some wishes stay granted.
    controls_.Toggle(page_, IDC_STAR_PREFER_PEACE);
    EXPECT_TRUE(controls_.Checked(IDC_STAR_PREFER_PEACE));
}

TEST_F(StarMessagesPageTest, StepsThroughTheSlotsAndStoresWhatWasTypedBeforeMoving) {
    page_.Open(controls_);
    controls_.Type(page_, IDC_STAR_MESSAGE, "Good\r\nnight");
    controls_.Click(page_, IDC_STAR_NEXT);
    EXPECT_EQ(Shown(), "HEART|and love|");
    EXPECT_EQ(Position(), "Message 2 of 2");
    EXPECT_EQ(Slot(1), "Good\r\nnight|Peace|");

    controls_.Click(page_, IDC_STAR_NEXT);  // on to the main message, which is not edited here
    EXPECT_EQ(Position(), "Message 0 of 2");
    EXPECT_FALSE(Editable());
    EXPECT_FALSE(controls_.controls[IDC_STAR_HEART].enabled);
    controls_.Type(page_, IDC_STAR_MESSAGE, "never stored");
    controls_.Click(page_, IDC_STAR_NEXT);
    EXPECT_EQ(Position(), "Message 1 of 2");
    EXPECT_TRUE(Editable());
    EXPECT_EQ(Slot(0), "Your\r\n   name\r\n    here|" + Slot(0).substr(Slot(0).find('|') + 1));
    EXPECT_EQ(Slot(0).find("never"), std::string::npos);

    // Stepping back skips the main message and wraps to the last slot.
    controls_.Click(page_, IDC_STAR_PREVIOUS);
    EXPECT_EQ(Position(), "Message 2 of 2");
    controls_.Click(page_, IDC_STAR_PREVIOUS);
    EXPECT_EQ(Shown(), "Good\r\nnight|Peace|");
}

TEST_F(StarMessagesPageTest, NewAddsASlotAfterTheLastAndDeleteClosesTheGap) {
    page_.Open(controls_);
    controls_.Type(page_, IDC_STAR_BOTTOMLINE, "kept");
    controls_.Click(page_, IDC_STAR_NEW);
    EXPECT_EQ(Shown(), "<type here your message>|<type here your bottomline>|");
    EXPECT_EQ(Position(), "Message 3 of 3");
    EXPECT_EQ(controls_.focus, IDC_STAR_MESSAGE);
    EXPECT_EQ(Slot(1), "PEACE|kept|");
    EXPECT_EQ(Slot(3), "<type here your message>|<type here your bottomline>|");

    controls_.Click(page_, IDC_STAR_PREVIOUS);
    controls_.Click(page_, IDC_STAR_PREVIOUS);
    ASSERT_EQ(Position(), "Message 1 of 3");
    controls_.Click(page_, IDC_STAR_DELETE);
    EXPECT_EQ(Shown(), "HEART|and love|");
    EXPECT_EQ(Position(), "Message 1 of 2");
    EXPECT_EQ(Slot(2), "<type here your message>|<type here your bottomline>|");
    EXPECT_EQ(Slot(3), "||");

    // Deleting on the main message only tidies the list.
    controls_.Click(page_, IDC_STAR_NEXT);
    controls_.Click(page_, IDC_STAR_NEXT);
    ASSERT_EQ(Position(), "Message 0 of 2");
    controls_.Click(page_, IDC_STAR_DELETE);
    EXPECT_EQ(Slot(0).substr(0, 4), "Your");
    EXPECT_EQ(Position(), "Message 0 of 2");
}

TEST_F(StarMessagesPageTest, WithOnlyTheMainMessageLeftThePageShowsMessage0Of0) {
    page_.Open(controls_);
    controls_.Click(page_, IDC_STAR_DELETE);
    EXPECT_EQ(Position(), "Message 1 of 1");
    controls_.Click(page_, IDC_STAR_DELETE);
    EXPECT_EQ(Position(), "Message 0 of 0");
    EXPECT_FALSE(Editable());
    EXPECT_EQ(Slot(1), "||");
    // Stepping finds nothing to show; New starts the list again.
    controls_.Click(page_, IDC_STAR_NEXT);
    controls_.Click(page_, IDC_STAR_PREVIOUS);
    EXPECT_EQ(Position(), "Message 0 of 0");
    controls_.Click(page_, IDC_STAR_NEW);
    EXPECT_EQ(Position(), "Message 1 of 1");
    EXPECT_TRUE(Editable());
}

TEST_F(StarMessagesPageTest, AMessageEmptiedByHandDoesNotHideTheOnesAfterIt) {
    page_.Open(controls_);
    controls_.Type(page_, IDC_STAR_MESSAGE, "");
    controls_.Type(page_, IDC_STAR_BOTTOMLINE, "");
    controls_.Click(page_, IDC_STAR_NEXT);
    EXPECT_EQ(Shown(), "HEART|and love|");
    EXPECT_EQ(Position(), "Message 1 of 1");
    EXPECT_EQ(Slot(1), "HEART|and love|");
}

TEST_F(StarMessagesPageTest, APasswordMakesASecretMessageThatOnlyItsPasswordOpens) {
    page_.Open(controls_);
    controls_.Click(page_, IDC_STAR_NEXT);
    controls_.Type(page_, IDC_STAR_PASSWORD, "Moon");
    controls_.Click(page_, IDC_STAR_NEXT);
    EXPECT_EQ(Slot(2), "HEART|and love|Moon");
    const std::string stored = Stored("Message___2");
    EXPECT_NE(stored, "HEART");  // kept scrambled
    EXPECT_NE(Stored("Password__2"), "Moon");

    // Without the password the editor no longer shows it.
    EXPECT_EQ(Position(), "Message 0 of 2");
    controls_.Click(page_, IDC_STAR_PREVIOUS);
    EXPECT_EQ(Shown(), "PEACE|Peace|");
    controls_.Click(page_, IDC_STAR_PREVIOUS);
    EXPECT_EQ(Shown(), "PEACE|Peace|");
    page_.Leave(controls_);

    // Once the saver was unlocked with it, the page shows that message only, and a new
    // message made then is secret with the same password.
    MainIni().WriteStringForUser("Messages", "DecryptPassword", "Moon");
    ResetMessageStore();
    FakeControls unlocked;
    StarMessagesPage again;
    again.Open(unlocked);
    EXPECT_EQ(unlocked.Text(IDC_STAR_MESSAGE), "HEART");
    EXPECT_EQ(unlocked.Text(IDC_STAR_PASSWORD), "Moon");
    unlocked.Click(again, IDC_STAR_NEW);
    EXPECT_EQ(Slot(3), "<type here your message>|<type here your bottomline>|Moon");
    // Stepping on passes over the open messages, the main one included.
    unlocked.Click(again, IDC_STAR_NEXT);
    EXPECT_EQ(unlocked.Text(IDC_STAR_MESSAGE), "HEART");
    unlocked.Click(again, IDC_STAR_NEXT);
    EXPECT_EQ(unlocked.Text(IDC_STAR_PASSWORD), "Moon");
    EXPECT_EQ(unlocked.controls[IDC_STAR_POSITION].text, "Message 3 of 3");
    EXPECT_TRUE(boxes_.boxes.empty());

    // Leaving the page ends the unlocking.
    again.Leave(unlocked);
    EXPECT_EQ(Stored("DecryptPassword"), "");
}

TEST_F(StarMessagesPageTest, SymbolButtonsWriteTheirKeywords) {
    page_.Open(controls_);
    const std::pair<int, const char*> symbols[] = {{IDC_STAR_HEART, "HEART"}, {IDC_STAR_HAPPY, "HAPPY_FACE"},
                                                   {IDC_STAR_STAR, "STAR"}, {IDC_STAR_TIME, "TIME 0"}};
    for (const auto& [id, keyword] : symbols) {
        controls_.Click(page_, id);
        EXPECT_EQ(controls_.Text(IDC_STAR_MESSAGE), keyword);
    }
    EXPECT_EQ(controls_.Text(IDC_STAR_BOTTOMLINE), "Peace");

    SeedRandom(7);
    bool war = false, eat = false;
    for (int i = 0; i < 40; ++i) {
        controls_.Click(page_, IDC_STAR_PEACE);
        EXPECT_EQ(controls_.Text(IDC_STAR_MESSAGE), "PEACE");
        const std::string line = controls_.Text(IDC_STAR_BOTTOMLINE);
        war = war || line == "In time of war the first casualty is truth.";
        eat = eat || line == "Since you don't eat them, why do you kill them?";
    }
    EXPECT_TRUE(war && eat);

    // Which draw gives which line: seed 1 draws 41 (41 * 2 / 32768 = 0) and then 18467
    // (36934 / 32768 = 1.13, so 1), the C library's well-known first values.
    SeedRandom(1);
    controls_.Click(page_, IDC_STAR_PEACE);
    EXPECT_EQ(controls_.Text(IDC_STAR_BOTTOMLINE), "Since you don't eat them, why do you kill them?");
    controls_.Click(page_, IDC_STAR_PEACE);
    EXPECT_EQ(controls_.Text(IDC_STAR_BOTTOMLINE), "In time of war the first casualty is truth.");
    ResetRandomSeed();
}

TEST_F(StarMessagesPageTest, CountdownAndDayCounterSetTheirKeywordsOnlyWhenConfirmed) {
    page_.Open(controls_);
    AnswerModal([](FakeControls& dialog, dialogs::DialogLogic& logic) { dialog.Click(logic, IDC_CANCEL); });
    controls_.Click(page_, IDC_STAR_COUNTDOWN);
    EXPECT_EQ(controls_.modals.back(), IDD_COUNTDOWN);
    EXPECT_EQ(controls_.Text(IDC_STAR_MESSAGE), "PEACE");

    controls_.onModal = [](int, dialogs::DialogLogic&) { return 1; };
    controls_.Click(page_, IDC_STAR_COUNTDOWN);
    EXPECT_EQ(controls_.Text(IDC_STAR_MESSAGE), "COUNTDOWN");

    controls_.Type(page_, IDC_STAR_MESSAGE, "BIRTHDAY FROM 1975 5 23");
    std::string shownYear;
    AnswerModal([&shownYear](FakeControls& dialog, dialogs::DialogLogic& logic) {
        shownYear = dialog.Text(IDC_DATE_YEAR);
        dialog.Type(logic, IDC_DATE_DAY, "24");
        dialog.Click(logic, IDC_OK);
    });
    controls_.Click(page_, IDC_STAR_DAY_COUNTER);
    EXPECT_EQ(controls_.modals.back(), IDD_BIRTHDAY);
    EXPECT_EQ(shownYear, "1975");
    EXPECT_EQ(controls_.Text(IDC_STAR_MESSAGE), "BIRTHDAY FROM 1975 5 24");
    EXPECT_EQ(controls_.Text(IDC_STAR_BOTTOMLINE), "Just don't spare it");

    // A message without a date opens on the date used last.
    controls_.Type(page_, IDC_STAR_MESSAGE, "HEART");
    controls_.Type(page_, IDC_STAR_BOTTOMLINE, "b");
    AnswerModal([&shownYear](FakeControls& dialog, dialogs::DialogLogic& logic) {
        shownYear = dialog.Text(IDC_DATE_DAY);
        dialog.Click(logic, IDC_CANCEL);
    });
    controls_.Click(page_, IDC_STAR_DAY_COUNTER);
    EXPECT_EQ(shownYear, "24");
    EXPECT_EQ(controls_.Text(IDC_STAR_MESSAGE), "HEART");
    EXPECT_EQ(controls_.Text(IDC_STAR_BOTTOMLINE), "b");
}

TEST_F(StarMessagesPageTest, WorldTimeEditsTheMessageAndTheBottomLine) {
    page_.Open(controls_);
    controls_.Type(page_, IDC_STAR_MESSAGE, "TIME -7.0 LDST  iLoc25 iWor10");
    int shownLocal = -2;
    AnswerModal([&shownLocal](FakeControls& dialog, dialogs::DialogLogic& logic) {
        shownLocal = dialog.Selection(IDC_WORLD_LOCAL);
        dialog.SetSelection(IDC_WORLD_WATCHED, -1);
        dialog.Type(logic, IDC_WORLD_BOTTOMLINE, "Where?");
        dialog.Click(logic, IDC_OK);
    });
    controls_.Click(page_, IDC_STAR_WORLD_TIME);
    EXPECT_EQ(controls_.modals.back(), IDD_WORLD_TIME);
    EXPECT_EQ(shownLocal, 25);
    EXPECT_EQ(controls_.Text(IDC_STAR_MESSAGE), "Please select\r\na world location");
    EXPECT_EQ(controls_.Text(IDC_STAR_BOTTOMLINE), "Where?");

    controls_.onModal = [](int, dialogs::DialogLogic&) { return -1; };  // could not be shown
    controls_.Click(page_, IDC_STAR_WORLD_TIME);
    EXPECT_EQ(controls_.Text(IDC_STAR_BOTTOMLINE), "Where?");
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "Dialog Box returned -1");
}

TEST_F(StarMessagesPageTest, ApplyStoresTheOptionsAndTheCurrentMessageAndLeaveEndsThePreview) {
    page_.Open(controls_);
    controls_.Toggle(page_, IDC_STAR_RANDOM);
    controls_.Toggle(page_, IDC_STAR_FORMAT24);
    controls_.Type(page_, IDC_STAR_MESSAGE, "Orion");
    controls_.Click(page_, IDC_STAR_PREVIEW);
    EXPECT_EQ(controls_.previews, 1);
    EXPECT_EQ(Stored("Preview"), "1");
    EXPECT_EQ(Slot(1), "Orion|Peace|");

    controls_.Type(page_, IDC_STAR_MESSAGE, "Lyra");
    page_.Leave(controls_);
    page_.Apply(controls_);
    EXPECT_EQ(Stored("Preview"), "0");
    EXPECT_EQ(Stored("ShowRandomly"), "1");
    EXPECT_EQ(MainIni().ReadIntForUser("params", "FormatTime24H", -1), 1);
    EXPECT_EQ(Slot(1), "Lyra|Peace|");

    FakeControls reopened;
    StarMessagesPage again;
    again.Open(reopened);
    EXPECT_TRUE(reopened.Checked(IDC_STAR_RANDOM));
    EXPECT_TRUE(reopened.Checked(IDC_STAR_FORMAT24));
}

TEST_F(StarMessagesPageTest, SendWritesTheEditedMessageIntoThePrivateWorkFolder) {
    testing::TempFolder runtime;
    testing::ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.Path());
    page_.Open(controls_);
    controls_.Type(page_, IDC_STAR_MESSAGE, "For you");
    controls_.Click(page_, IDC_STAR_SEND);
    EXPECT_EQ(Slot(1), "For you|Peace|");
    const std::string sent = testing::ReadFile(runtime.Path() + "lumivane/NewMessage.Lumivan");
    EXPECT_NE(sent.find("Message___0=For you"), std::string::npos) << sent;
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].caption, "How to send the message to your friend.");
    EXPECT_EQ(desktop_.folders, std::vector<std::string>{runtime.Path() + "lumivane/"});

    controls_.Click(page_, IDC_STAR_HELP);
    EXPECT_EQ(controls_.helpPages, std::vector<std::string>{"lumivan.htm"});
}

TEST_F(StarMessagesPageTest, AFullListSaysSoAndChangesNothing) {
    // Every slot a list can hold, written straight into the file.
    const std::string path = folder_.File("Lumivan.ini");
    std::string text = testing::ReadFile(path);
    std::string slots;
    for (int i = 3; i < MessageStore::kMaxSlots; ++i) slots += "Message___" + std::to_string(i) + "=m\n";
    const size_t section = text.find("[Messages]");
    ASSERT_NE(section, std::string::npos);
    text.insert(text.find('\n', section) + 1, slots);
    testing::WriteFile(path, text);
    ASSERT_EQ(testing::StartLogAndSettingsIn(folder_), 0);
    ResetMessageStore();

    page_.Open(controls_);
    ASSERT_EQ(Position(), "Message 1 of 999");
    controls_.Type(page_, IDC_STAR_MESSAGE, "still mine");
    controls_.Click(page_, IDC_STAR_NEW);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_NE(boxes_.boxes[0].text.find("full"), std::string::npos);
    EXPECT_EQ(Shown(), "still mine|Peace|");
    EXPECT_EQ(Slot(1), "still mine|Peace|");
    EXPECT_EQ(Slot(999), "m||");
}

}  // namespace
}  // namespace lumi
