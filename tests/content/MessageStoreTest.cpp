// The secret message store over a real settings file: first-run defaults, the order of
// the shown messages, secret messages and their unlocking, editing and compacting slots,
// and texts that must come back exactly as they were stored.
#include "content/MessageStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "common/TestSupport.h"
#include "media/Sound.h"
#include "settings/IniFile.h"
#include "platform/IniText.h"
#include "support/ErrorReport.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

using testing::ReadFile;
using testing::RecordingMessageBoxes;
using testing::TempFolder;
using testing::WriteFile;

class MessageStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestartLogAt(folder.File("test.log"));
        ResetErrorReports();
        SeedRandom(7);
    }

    // Opens the settings file as a run of the saver does; the first opening of a new
    // file is the first run.
    MessageStore& Run(const std::string& content = {}) {
        if (!content.empty()) WriteFile(Path(), content);
        ini = std::make_unique<IniFile>(&textStore, "guest");
        EXPECT_EQ(ini->Init(folder.Path(), "Lumivan.ini"), 0);
        store = std::make_unique<MessageStore>(ini.get());
        return *store;
    }

    // A first run that stores the defaults, then a second run over the same file.
    MessageStore& SecondRunWithDefaults() {
        Run().WriteDefaults();
        return Run();
    }

    std::string Path() const { return folder.File("Lumivan.ini"); }
    std::string Raw(const std::string& key) { return ini->ReadString("Messages", key, "<missing>"); }

    void Put(int slot, const std::string& message, const std::string& bottomLine, const std::string& password = {}) {
        store->SetCurrentIndex(slot);
        store->SetMessage(message);
        store->SetBottomLine(bottomLine);
        store->SetPassword(password);
        store->Write();
    }

    std::vector<int> Picks(int count) {
        std::vector<int> shown;
        for (int i = 0; i < count; ++i) {
            store->GetNext();
            shown.push_back(store->CurrentIndex());
        }
        return shown;
    }

    TempFolder folder;
    RecordingMessageBoxes boxes;
    IniTextStore textStore;
    std::unique_ptr<IniFile> ini;
    std::unique_ptr<MessageStore> store;
};

TEST_F(MessageStoreTest, FirstRunStoresDefaultsAndGreetsInSlotOne) {
    MessageStore& s = Run();
    s.WriteDefaults();
    EXPECT_EQ(s.CurrentIndex(), 2);
    EXPECT_EQ(s.FindFirstFree(), 3);

    s.GoFirst();
    EXPECT_EQ(s.Message(), "Your\r\n   name\r\n    here");
    EXPECT_FALSE(s.BottomLine().empty());
    EXPECT_EQ(s.BottomLine().find("http"), std::string::npos);
    EXPECT_EQ(s.BottomLine().find("www"), std::string::npos);
    EXPECT_LE(s.BottomLine().size(), MessageStore::kBottomLineChars);

    // The greeting is shown, not stored.
    s.SetCurrentIndex(1);
    s.Read();
    EXPECT_EQ(s.Message(), "Lumivane");
    EXPECT_EQ(s.BottomLine(), "Try it with the lights off");
    EXPECT_EQ(Raw("Message___1"), "PEACE");

    // The saver's own cycle on that first run meets the greeting too, and only in slot 1.
    std::vector<std::string> shown;
    for (int i = 0; i < 4; ++i) {
        s.GetNext();
        shown.push_back(s.Message());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Your\r\n   name\r\n    here", "Lumivane", "HEART",
                                               "Your\r\n   name\r\n    here"}));

    MessageStore& next = Run();
    next.SetCurrentIndex(1);
    next.Read();
    EXPECT_EQ(next.Message(), "PEACE");
    EXPECT_EQ(next.BottomLine(), "Peace");
    next.SetCurrentIndex(2);
    next.Read();
    EXPECT_EQ(next.Message(), "HEART");
    EXPECT_EQ(next.BottomLine(), "and love");
    EXPECT_EQ(next.Password(), "");
}

TEST_F(MessageStoreTest, DefaultsNeverReplaceStoredMessages) {
    // A later run writes nothing.
    MessageStore& s = SecondRunWithDefaults();
    Put(1, "mine", "my line");
    s.WriteDefaults();
    s.SetCurrentIndex(1);
    s.Read();
    EXPECT_EQ(s.Message(), "mine");

    // A file that lost its first-time key still keeps the user's messages.
    TempFolder other;
    WriteFile(other.File("Lumivan.ini"), "[Messages]\nMessage___0=My own words\nBottomLine0=kept\n");
    IniFile lost(&textStore, "guest");
    ASSERT_EQ(lost.Init(other.Path(), "Lumivan.ini"), 0);
    ASSERT_EQ(lost.FirstTime(), 1);
    MessageStore kept(&lost);
    kept.WriteDefaults();
    kept.GoFirst();
    EXPECT_EQ(kept.Message(), "My own words");
    EXPECT_EQ(kept.BottomLine(), "kept");
    EXPECT_EQ(kept.FindFirstFree(), 1);
}

TEST_F(MessageStoreTest, GetNextCyclesFromThePreviewSlot) {
    MessageStore& s = SecondRunWithDefaults();
    EXPECT_EQ(Picks(5), (std::vector<int>{0, 1, 2, 0, 1}));

    ini->WriteUIntForUser("Messages", "Preview", 2);
    Run();
    EXPECT_EQ(Picks(4), (std::vector<int>{2, 0, 1, 2}));
    EXPECT_EQ(store->Message(), "HEART");

    // A preview past the list shows its empty slot once, then the cycle goes on.
    ini->WriteUIntForUser("Messages", "Preview", 7);
    Run();
    EXPECT_EQ(Picks(3), (std::vector<int>{7, 0, 1}));
    (void)s;
}

TEST_F(MessageStoreTest, SingleMessageAndRandomOrderOptions) {
    MessageStore& s = SecondRunWithDefaults();
    s.SetDisableMultiple(1);
    s.SetShowRandomly(1);
    s.SaveOptions();
    // The single message wins even over the slot asked to be shown first.
    ini->WriteUIntForUser("Messages", "Preview", 2);

    MessageStore& again = Run();
    again.LoadOptions();
    EXPECT_EQ(again.DisableMultiple(), 1);
    EXPECT_EQ(again.ShowRandomly(), 1);
    EXPECT_EQ(Picks(6), (std::vector<int>(6, 0)));

    again.SetDisableMultiple(0);
    std::set<int> seen;
    int repeats = 0, previous = -1;
    for (int pick : Picks(200)) {
        ASSERT_GE(pick, 0);
        ASSERT_LE(pick, 2);
        seen.insert(pick);
        repeats += pick == previous;
        previous = pick;
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2}));
    // The cycle in order never shows a slot twice running; a random pick often does.
    EXPECT_GT(repeats, 20);
}

TEST_F(MessageStoreTest, SecretMessageIsStoredScrambledAndShownOnlyWithItsExactPassword) {
    RecordingSoundPlayer sounds;
    MessageStore& s = SecondRunWithDefaults();
    Put(3, "Meet me\r\nat the pier", "bring \"the\" map", "Open Sesame");

    const std::string file = ReadFile(Path());
    EXPECT_EQ(file.find("Meet me"), std::string::npos);
    EXPECT_EQ(file.find("pier"), std::string::npos);
    EXPECT_EQ(file.find("Sesame"), std::string::npos);
    for (const char* key : {"Message___3", "BottomLine3", "Password__3"}) {
        const std::string stored = Raw(key);
        ASSERT_FALSE(stored.empty());
        for (unsigned char c : stored) EXPECT_GE(c, 32) << key;
    }

    // Without the password, the secret slot never comes up.
    for (int pick : Picks(12)) EXPECT_NE(pick, 3);

    // The same word with other capitals is not the password.
    EXPECT_EQ(UnlockFromMainPage(s, nullptr, "Hello", "open sesame"), 0);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(s.UnlockPassword(), "");
    EXPECT_EQ(ini->ReadStringForUser("Messages", "DecryptPassword", ""), "");

    EXPECT_EQ(UnlockFromMainPage(s, nullptr, "Hello", "Open Sesame"), 1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "You found a password !");
    EXPECT_EQ(boxes.boxes[0].text, "You have 1 secret message(s).");
    ASSERT_EQ(sounds.played.size(), 1u);
    EXPECT_EQ(sounds.played[0].number, 130);
    EXPECT_EQ(sounds.played[0].loop, SoundLoop::Once);
    EXPECT_EQ(ini->ReadStringForUser("Messages", "DecryptPassword", ""), "Open Sesame");

    // The main page's texts went into slot 0.
    s.GoFirst();
    EXPECT_EQ(s.Message(), "Hello");
    EXPECT_EQ(s.BottomLine(), "Open Sesame");

    // The next run shows only the secret message, whole.
    MessageStore& next = Run();
    next.LoadUnlock();
    EXPECT_EQ(Picks(4), (std::vector<int>{3, 3, 3, 3}));
    EXPECT_EQ(next.Message(), "Meet me\r\nat the pier");
    EXPECT_EQ(next.BottomLine(), "bring \"the\" map");
    EXPECT_EQ(next.Password(), "Open Sesame");
    // GotIt itself ignores case.
    next.SetUnlockPassword("OPEN SESAME");
    EXPECT_EQ(next.GotIt(), 1);
}

TEST_F(MessageStoreTest, CountUnlockedMatchesExactlyAndSkipsSlotZero) {
    MessageStore& s = SecondRunWithDefaults();
    Put(0, "main", "x", "pw");
    Put(3, "a", "b", "pw");
    Put(4, "c", "d", "PW");
    Put(5, "e", "f", "pw");
    s.SetCurrentIndex(4);
    s.Read();
    s.SetUnlockPassword("pw");
    EXPECT_EQ(s.CountUnlocked(), 2);
    EXPECT_EQ(s.CurrentIndex(), 4);
    EXPECT_EQ(s.Message(), "c");
    s.SetUnlockPassword("");
    EXPECT_EQ(s.CountUnlocked(), 5);
}

TEST_F(MessageStoreTest, GetNextEndsWhenNoSlotCanBeShown) {
    MessageStore& s = SecondRunWithDefaults();
    ini->WriteStringForUser("Messages", "DecryptPassword", "long gone");
    MessageStore& next = Run();
    next.LoadUnlock();
    EXPECT_EQ(next.UnlockPassword(), "long gone");
    EXPECT_EQ(Picks(3), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(next.Message(), "Your\r\n   name\r\n    here");
    // The stale password is reported once, not in front of every message.
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "PROBLEM");
    EXPECT_EQ(boxes.boxes[0].text, "Internal error #167");

    // Every slot locked and no password typed: the main message still ends the search.
    Put(0, "locked", "x", "a");
    Put(1, "locked", "x", "b");
    Put(2, "locked", "x", "c");
    next.SetUnlockPassword("");
    next.SetShowRandomly(1);
    EXPECT_EQ(Picks(2), (std::vector<int>{0, 0}));
    (void)s;
}

TEST_F(MessageStoreTest, GetNextFindsTheOnlyShowableSlotInRandomOrder) {
    MessageStore& s = SecondRunWithDefaults();
    for (int i = 0; i < 12; ++i) Put(i, "m" + std::to_string(i), "b", i == 9 ? "key" : "other");
    s.SetUnlockPassword("key");
    s.SetShowRandomly(1);
    EXPECT_EQ(Picks(5), (std::vector<int>(5, 9)));
}

TEST_F(MessageStoreTest, TextsComeBackExactly) {
    MessageStore& s = SecondRunWithDefaults();
    const std::string tricky[] = {
        "two\r\nlines",
        "  leading and trailing blanks  ",
        "\"quoted\"",
        "back\\slash\\n not a line break\\",
        "; not a comment = [not a section]",
        "tab\there",
        "lone\nfeed, lone\rreturn",
        "\r\nbreaks at both ends\r\n",
    };
    for (const std::string& text : tricky) {
        for (const char* password : {"", "p", "\"", " x "}) {
            Put(4, text, text + "!", password);
            Run();
            store->SetCurrentIndex(4);
            store->Read();
            EXPECT_EQ(store->Message(), text) << "password '" << password << "'";
            EXPECT_EQ(store->BottomLine(), text + "!");
            EXPECT_EQ(store->Password(), password);
        }
    }
    (void)s;
}

TEST_F(MessageStoreTest, FullLengthSecretTextsSurviveEvenWhenScramblingDoublesThem) {
    MessageStore& s = SecondRunWithDefaults();
    // Line breaks and low punctuation take two bytes each in the stored form, so these
    // texts are stored at about twice their length.
    std::string message;
    while (message.size() < MessageStore::kMessageChars) message += "\r\n !\"#$%&'()*+,-./0";
    std::string bottomLine;
    for (int i = 0; bottomLine.size() < MessageStore::kBottomLineChars; ++i) bottomLine += char(1 + i % 63);
    std::string password;
    for (int i = 0; password.size() < MessageStore::kPasswordChars; ++i) password += char(1 + (i * 7) % 254);

    Put(3, message, bottomLine, password);
    EXPECT_EQ(store->Message().size(), MessageStore::kMessageChars);
    EXPECT_EQ(store->BottomLine().size(), MessageStore::kBottomLineChars);
    const std::string wroteMessage = store->Message(), wroteBottomLine = store->BottomLine(),
                      wrotePassword = store->Password();
    Run();
    store->SetCurrentIndex(3);
    store->Read();
    EXPECT_EQ(store->Message(), wroteMessage);
    EXPECT_EQ(store->BottomLine(), wroteBottomLine);
    EXPECT_EQ(store->Password(), wrotePassword);
    // Nothing was cut beyond the slot's capacity, and no error box came up.
    EXPECT_EQ(wroteMessage, message.substr(0, MessageStore::kMessageChars));
    EXPECT_EQ(wroteBottomLine, bottomLine.substr(0, MessageStore::kBottomLineChars));
    EXPECT_TRUE(boxes.boxes.empty());
    (void)s;
}

TEST_F(MessageStoreTest, OverlongTextsAreCutAtTheSlotCapacity) {
    MessageStore& s = SecondRunWithDefaults();
    s.SetMessage(std::string(500, 'm'));
    s.SetBottomLine(std::string(500, 'b'));
    s.SetPassword(std::string("ab\0cd", 5));
    EXPECT_EQ(s.Message().size(), MessageStore::kMessageChars);
    EXPECT_EQ(s.BottomLine().size(), MessageStore::kBottomLineChars);
    EXPECT_EQ(s.Password(), "ab");

    // A hand-edited file with longer values reads cut, never beyond the buffers.
    ini->WriteStringForUser("Messages", "Message___5", std::string(900, 'x'));
    s.SetCurrentIndex(5);
    s.Read();
    EXPECT_EQ(s.Message(), std::string(MessageStore::kMessageChars, 'x'));
}

TEST_F(MessageStoreTest, DeletingASlotMovesTheLaterOnesDownInOrder) {
    MessageStore& s = SecondRunWithDefaults();
    Put(1, "one", "1");
    Put(2, "two", "2", "secret");
    Put(3, "three", "3");
    s.SetCurrentIndex(1);
    s.Read();
    s.ClearCurrent();
    EXPECT_EQ(s.IsFree(1), 1);
    s.Compact();
    EXPECT_EQ(s.CurrentIndex(), 1);
    EXPECT_EQ(s.Message(), "two");
    EXPECT_EQ(s.Password(), "secret");
    EXPECT_NE(Raw("Message___1"), "two");  // still scrambled after the move
    s.SetCurrentIndex(2);
    s.Read();
    EXPECT_EQ(s.Message(), "three");
    EXPECT_EQ(s.IsFree(3), 1);
    EXPECT_EQ(s.FindFirstFree(), 3);

    // Several gaps close at once, keeping the order.
    for (int i = 1; i <= 6; ++i) Put(i, "m" + std::to_string(i), "b");
    for (int gap : {2, 3, 5}) {
        s.SetCurrentIndex(gap);
        s.ClearCurrent();
    }
    s.SetCurrentIndex(6);
    s.Compact();
    EXPECT_EQ(s.CurrentIndex(), 0);  // the remembered slot is past the list now
    std::vector<std::string> order;
    for (int i = 1; i < s.FindFirstFree(); ++i) {
        s.SetCurrentIndex(i);
        s.Read();
        order.push_back(s.Message());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"m1", "m4", "m6"}));
}

TEST_F(MessageStoreTest, EditorStepsThroughShowableSlots) {
    MessageStore& s = SecondRunWithDefaults();
    Put(3, "three", "3");
    s.SetCurrentIndex(1);
    s.Read();
    std::vector<int> forward, back;
    for (int i = 0; i < 5; ++i) {
        s.EditorNext();
        forward.push_back(s.CurrentIndex());
    }
    EXPECT_EQ(forward, (std::vector<int>{2, 3, 0, 1, 2}));
    s.SetCurrentIndex(1);
    for (int i = 0; i < 4; ++i) {
        s.EditorPrevious();
        back.push_back(s.CurrentIndex());
    }
    EXPECT_EQ(back, (std::vector<int>{3, 2, 1, 3}));

    // With a password typed, only its messages are stepped to.
    Put(2, "two", "2", "pw");
    s.SetUnlockPassword("pw");
    s.GoFirst();
    s.EditorNext();
    EXPECT_EQ(s.CurrentIndex(), 2);
    s.EditorNext();
    EXPECT_EQ(s.CurrentIndex(), 2);
    s.EditorPrevious();
    EXPECT_EQ(s.CurrentIndex(), 2);
}

TEST_F(MessageStoreTest, AddNewUsesTheFirstFreeSlotAndRefusesAFullList) {
    MessageStore& s = SecondRunWithDefaults();
    s.SetCurrentIndex(0);
    s.SetMessage("unsaved draft");
    EXPECT_EQ(s.IsFree(2), 0);
    EXPECT_EQ(s.Message(), "unsaved draft");  // looking elsewhere keeps the edit

    ASSERT_TRUE(s.AddNew());
    EXPECT_EQ(s.CurrentIndex(), 3);
    EXPECT_EQ(s.Message(), "<type here your message>");
    EXPECT_EQ(s.BottomLine(), "<type here your bottomline>");
    EXPECT_EQ(Raw("Message___3"), "<type here your message>");

    std::string full = "[params]\nFirstTime=0\n[Messages]\n";
    for (int i = 0; i < MessageStore::kMaxSlots; ++i)
        full += "Message___" + std::to_string(i) + "=m" + std::to_string(i) + "\n";
    MessageStore& crowded = Run(full);
    EXPECT_EQ(crowded.FindFirstFree(), MessageStore::kMaxSlots);
    EXPECT_FALSE(crowded.AddNew());
    EXPECT_EQ(Raw("Message___999"), "m999");
    EXPECT_EQ(Raw("Message___1000"), "<missing>");
}

TEST_F(MessageStoreTest, OptionsUnlockAndPreviewPersist) {
    MessageStore& s = SecondRunWithDefaults();
    s.SetUnlockPassword("word");
    s.SaveUnlock();
    s.SetCurrentIndex(2);
    s.SetPreview();
    EXPECT_EQ(ini->ReadIntForUser("Messages", "Preview", -1), 2);
    MessageStore& next = Run();
    next.LoadUnlock();
    EXPECT_EQ(next.UnlockPassword(), "word");
    next.ClearPreview();
    EXPECT_EQ(ini->ReadIntForUser("Messages", "Preview", -1), 0);

    // The longest password, half of it backslashes (stored as two characters each).
    const std::string longest = std::string(149, '\\') + std::string(149, 'a');
    next.SetUnlockPassword(longest + "cut");
    next.SaveUnlock();
    MessageStore& third = Run();
    third.LoadUnlock();
    EXPECT_EQ(third.UnlockPassword(), longest);
}

}  // namespace
}  // namespace lumi
