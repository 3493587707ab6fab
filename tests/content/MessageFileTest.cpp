// Message files between two users: what sending writes, a round trip into another
// user's settings, and the broken, hostile and oversized files a friend might send.
#include "content/MessageFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "common/TestSupport.h"
#include "content/MessageStore.h"
#include "platform/Desktop.h"
#include "settings/IniFile.h"
#include "platform/IniText.h"
#include "support/ErrorReport.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

using testing::ScopedEnv;

using testing::ReadFile;
using testing::RecordingMessageBoxes;
using testing::TempFolder;
using testing::WriteFile;

class RecordingDesktop : public DesktopService {
public:
    RecordingDesktop() { SetDesktop(this); }
    ~RecordingDesktop() override { SetDesktop(nullptr); }
    bool OpenUrl(const std::string& url) override {
        opened.push_back(url);
        return true;
    }
    bool OpenFolder(const std::string& folder) override {
        opened.push_back(folder);
        return true;
    }
    std::vector<std::string> opened;
};

// One user's settings file with the first run's defaults already behind it.
struct User {
    User(IniTextStore& textStore, const std::string& folder) : ini(&textStore, "guest") {
        IniFile first(&textStore, "guest");
        first.Init(folder, "Lumivan.ini");
        MessageStore(&first).WriteDefaults();
        ini.Init(folder, "Lumivan.ini");
        store = std::make_unique<MessageStore>(&ini);
    }
    std::string Slot(int i) {
        store->SetCurrentIndex(i);
        store->Read();
        return store->Message() + "|" + store->BottomLine() + "|" + store->Password();
    }
    IniFile ini;
    std::unique_ptr<MessageStore> store;
};


class MessageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestartLogAt(temp.File("test.log"));
        ResetErrorReports();
    }

    std::string Work() const { return runtime.Path() + "lumivane/"; }
    std::string Sent() const { return Work() + "NewMessage.Lumivan"; }
    std::string Instructions() const { return Work() + "Receive Instructions.txt"; }

    // Sends slot `slot` of the sender after filling it.
    void SendFromSender(const std::string& message, const std::string& bottomLine, const std::string& password) {
        sender.store->SetCurrentIndex(3);
        sender.store->SetMessage(message);
        sender.store->SetBottomLine(bottomLine);
        sender.store->SetPassword(password);
        sender.store->Write();
        ASSERT_TRUE(SendMessageFile(*sender.store, nullptr));
    }

    int Receive(const std::string& path) { return ReceiveMessageFile(*receiver.store, {"lumivane.scr", "/s", path}); }

    // Receiving must leave the receiver's list as it was.
    void ExpectNotReceived(const std::string& path) {
        const int freeBefore = receiver.store->FindFirstFree();
        EXPECT_EQ(Receive(path), 0) << path;
        EXPECT_EQ(receiver.store->FindFirstFree(), freeBefore) << path;
        EXPECT_EQ(receiver.Slot(1), "PEACE|Peace|");
        EXPECT_EQ(receiver.ini.ReadIntForUser("Messages", "Preview", -1), -1);
    }

    TempFolder temp, runtime, senderFolder, receiverFolder, files;
    ScopedEnv tmpDir{"TMPDIR", temp.Path()};
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", runtime.Path()};
    RecordingMessageBoxes boxes;
    RecordingDesktop desktop;
    IniTextStore textStore;
    User sender{textStore, senderFolder.Path()};
    User receiver{textStore, receiverFolder.Path()};
};

TEST_F(MessageFileTest, SendingWritesTheMessageAndTheInstructions) {
    SendFromSender("Happy\r\nbirthday", "from \"me\"", "cake");

    EXPECT_EQ(ReadFile(Instructions()),
              "EMAIL SUBJECT: A Lumivane for you.\r\n"
              "\r\n"
              "EMAIL BODY:\r\n"
              "This email has a special message for you.\r\n"
              "\r\n"
              "To see the message you must have the \"Lumivane\" screen saver.\r\n"
              "If you don't already have this screen saver, you can download it from\r\n"
              "the internet: the Lumivane home page\r\n"
              "and install it to your computer.\r\n"
              "\r\n"
              "To load and view the message, simply open the \"NewMessage.Lumivan\" file\r\n"
              "that you can find attached to this email.\r\n");

    // The file travels readable, password included; only the receiver scrambles it.
    IniFile sent(&textStore);
    ASSERT_EQ(sent.Init("", Sent()), 0);
    EXPECT_EQ(sent.ReadString("MessageIN", "Message___0", "?"), "Happy\r\nbirthday");
    EXPECT_EQ(sent.ReadString("MessageIN", "BottomLine0", "?"), "from \"me\"");
    EXPECT_EQ(sent.ReadString("MessageIN", "Password__0", "?"), "cake");
    EXPECT_NE(ReadFile(Sent()).find("Happy\\r\\nbirthday"), std::string::npos);

    EXPECT_EQ(desktop.opened, (std::vector<std::string>{Work()}));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "How to send the message to your friend.");
    EXPECT_EQ(boxes.boxes[0].text.rfind("Two new files named \"NewMessage.Lumivan\" and \"Receive Instructions.txt\"\n", 0),
              0u);
    EXPECT_NE(boxes.boxes[0].text.find("\n5) Wish this procedure works. (I will improve it in the future versions)"),
              std::string::npos);

    // A second send replaces the instructions and updates the message file.
    SendFromSender("Happy\r\nbirthday", "again", "");
    EXPECT_EQ(testing::ReadLines(Instructions()).size(), 12u);
    IniFile again(&textStore);
    ASSERT_EQ(again.Init("", Sent()), 0);
    EXPECT_EQ(again.ReadString("MessageIN", "BottomLine0", "?"), "again");
    EXPECT_EQ(again.ReadString("MessageIN", "Password__0", "?"), "");
}

TEST_F(MessageFileTest, SendingReportsAFolderThatCannotBeWritten) {
    WriteFile(runtime.Path() + "lumivane", "a file where the folder should be");
    tmpDir.Unset();
    ScopedEnv noTemp("TMPDIR", temp.Path() + "missing");
    sender.store->GoFirst();
    EXPECT_FALSE(SendMessageFile(*sender.store, nullptr));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "The message was not sent");
    EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(MessageFileTest, ASecretMessageArrivesHiddenAndIsShownFirstOnceUnlocked) {
    SendFromSender("Meet me\r\nat noon", "by the old oak", "acorn");
    const std::string sentBytes = ReadFile(Sent());

    ASSERT_EQ(Receive(Sent()), 1);
    EXPECT_EQ(receiver.store->CurrentIndex(), 3);
    EXPECT_EQ(receiver.ini.ReadIntForUser("Messages", "Preview", -1), 3);
    EXPECT_EQ(receiver.Slot(3), "Meet me\r\nat noon|by the old oak|acorn");
    EXPECT_EQ(ReadFile(receiverFolder.File("Lumivan.ini")).find("acorn"), std::string::npos);
    // The friend's file is left exactly as it came.
    EXPECT_EQ(ReadFile(Sent()), sentBytes);

    // Hidden until the password is typed, although it is the preview slot.
    MessageStore& shown = *receiver.store;
    shown.GetNext();
    EXPECT_NE(shown.CurrentIndex(), 3);
    shown.SetUnlockPassword("acorn");
    shown.GetNext();
    EXPECT_EQ(shown.CurrentIndex(), 3);
    EXPECT_TRUE(boxes.boxes.size() == 1u && boxes.boxes[0].caption == "How to send the message to your friend.");
}

TEST_F(MessageFileTest, AnOpenMessageWithAnEmptyBottomLineArrives) {
    SendFromSender("HEART", "", "");
    ASSERT_EQ(Receive(Sent()), 1);
    EXPECT_EQ(receiver.Slot(3), "HEART||");
}

TEST_F(MessageFileTest, TheCommandLineNamesTheFile) {
    const std::string path = files.File("my friend.LUMIVAN");
    WriteFile(path, "[MessageIN]\nMessage___0=hi\nBottomLine0=there\n");
    const std::string line = "\"C:\\Program Files\\lumivane.scr\" /s \"" + path + "\"";
    const std::vector<std::string> args = SplitCommandLine(line);
    ASSERT_EQ(args.size(), 3u);
    EXPECT_EQ(args[0], "C:\\Program Files\\lumivane.scr");
    EXPECT_EQ(ReceiveMessageFile(*receiver.store, args), 1);
    EXPECT_EQ(receiver.Slot(3), "hi|there|");

    EXPECT_EQ(ReceiveMessageFile(*receiver.store, {"lumivane.scr", "/s"}), 0);
    EXPECT_EQ(ReceiveMessageFile(*receiver.store, {}), 0);
}

TEST_F(MessageFileTest, SplittingFollowsTheWindowsRules) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine("prog /s file.Lumivan"), (V{"prog", "/s", "file.Lumivan"}));
    EXPECT_EQ(SplitCommandLine("  prog\t \t/p   123  "), (V{"", "prog", "/p", "123"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\a b\\p.scr\" x"), (V{"C:\\a b\\p.scr", "x"}));
    EXPECT_EQ(SplitCommandLine("p a\\\\\\\"b"), (V{"p", "a\\\"b"}));      // 3 backslashes + quote
    EXPECT_EQ(SplitCommandLine("p a\\\\\"b c\""), (V{"p", "a\\b c"}));    // 2 backslashes + quote
    EXPECT_EQ(SplitCommandLine("p a\\\\b"), (V{"p", "a\\\\b"}));          // no quote: kept
    EXPECT_EQ(SplitCommandLine("p \"\" x"), (V{"p", "", "x"}));
    EXPECT_EQ(SplitCommandLine("p \"say \"\"hi\"\"\""), (V{"p", "say \"hi\""}));
    EXPECT_EQ(SplitCommandLine("p \"unterminated arg"), (V{"p", "unterminated arg"}));
    EXPECT_EQ(SplitCommandLine(""), V{});
}

TEST_F(MessageFileTest, FilesThatHoldNoMessageAreNotReceived) {

    const std::string wrongName = files.File("message.txt");
    WriteFile(wrongName, "[MessageIN]\nMessage___0=hi\nBottomLine0=there\n");
    ExpectNotReceived(wrongName);

    const std::string noBottomLine = files.File("nobottom.Lumivan");
    WriteFile(noBottomLine, "[MessageIN]\nMessage___0=hi\nPassword__0=\n");
    ExpectNotReceived(noBottomLine);

    const std::string otherSection = files.File("other.Lumivan");
    WriteFile(otherSection, "[Messages]\nMessage___0=hi\nBottomLine0=there\n");
    ExpectNotReceived(otherSection);

    const std::string empty = files.File("empty.Lumivan");
    WriteFile(empty, "");
    ExpectNotReceived(empty);

    // Every text there but empty: storing it would leave a free slot marked to be shown.
    const std::string blank = files.File("blank.Lumivan");
    WriteFile(blank, std::string("[MessageIN]\nMessage___0=\nBottomLine0=") + '\0' + "junk\nPassword__0=\n");
    ExpectNotReceived(blank);

    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MessageFileTest, AFileThatCannotBeReadIsSaidSo) {
    const std::string folder = files.File("folder.Lumivan");
    std::filesystem::create_directory(folder);
    // Far too large to be a message file, even with a message at its start.
    const std::string huge = files.File("huge.Lumivan");
    WriteFile(huge, "[MessageIN]\nMessage___0=hi\nBottomLine0=there\n" + std::string(kMaxMessageFileBytes, 'x'));
    const std::string missing = files.File("My Files/missing (1).Lumivan");
    for (const std::string& path : {missing, folder, huge}) {
        boxes.boxes.clear();
        ExpectNotReceived(path);
        ASSERT_EQ(boxes.boxes.size(), 1u) << path;
        EXPECT_EQ(boxes.boxes[0].caption, "The message was not received");
        EXPECT_NE(boxes.boxes[0].text.find(path), std::string::npos) << boxes.boxes[0].text;
    }
    EXPECT_NE(ReadFile(temp.File("test.log")).find("cannot read the message file " + missing), std::string::npos);
}

TEST_F(MessageFileTest, BinaryJunkIsNeverReceivedAndNeverCrashes) {
    SeedRandom(11);
    for (int round = 0; round < 20; ++round) {
        std::string junk;
        const int length = RandomRange(0, 3000);
        for (int i = 0; i < length; ++i) junk += static_cast<char>(RandomRange(0, 256));
        // Sometimes a section header hides in the junk.
        if (round % 4 == 0) junk.insert(static_cast<size_t>(RandomRange(0, length + 1)), "\n[MessageIN]\n");
        const std::string path = files.File("junk" + std::to_string(round) + ".Lumivan");
        WriteFile(path, junk);
        ExpectNotReceived(path);
    }
    // Values full of control bytes and NULs arrive cut, never beyond the slot.
    const std::string path = files.File("nasty.Lumivan");
    WriteFile(path, std::string("[MessageIN]\nMessage___0=a\x01\x02\xff\\") + std::string(1, '\0') +
                        "tail\nBottomLine0=\\r\\n\\\nPassword__0=\n");
    ASSERT_EQ(Receive(path), 1);
    receiver.store->SetCurrentIndex(3);
    receiver.store->Read();
    EXPECT_LE(receiver.store->Message().size(), MessageStore::kMessageChars);
    EXPECT_EQ(receiver.store->Message().find('\0'), std::string::npos);
    EXPECT_EQ(receiver.Slot(1), "PEACE|Peace|");
}

TEST_F(MessageFileTest, AHostileFileReachesOnlyItsOwnNewSlot) {
    const std::string path = files.File("hostile.Lumivan");
    WriteFile(path,
              "[params]\nMultiUser=1\nFirstTime=1\n"
              "[Messages]\nMessage___1=overwritten\nDecryptPassword=x\nPreview=1\n"
              "[MessageIN]\nMessage___0=" +
                  std::string(900, 'm') + "\nBottomLine0=" + std::string(900, 'b') +
                  "\\n[params]\\nMultiUser=1\nPassword__0=\n");
    ASSERT_EQ(Receive(path), 1);
    receiver.store->SetCurrentIndex(3);
    receiver.store->Read();
    EXPECT_EQ(receiver.store->Message(), std::string(MessageStore::kMessageChars, 'm'));
    EXPECT_EQ(receiver.store->BottomLine(), std::string(MessageStore::kBottomLineChars, 'b'));

    IniFile reopened(&textStore, "guest");
    ASSERT_EQ(reopened.Init(receiverFolder.Path(), "Lumivan.ini"), 0);
    EXPECT_EQ(reopened.IsMultiUser(), false);
    EXPECT_EQ(reopened.ReadString("Messages", "DecryptPassword", "none"), "none");
    EXPECT_EQ(reopened.ReadString("Messages", "Preview", ""), "3");
    EXPECT_EQ(receiver.Slot(1), "PEACE|Peace|");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MessageFileTest, AReadOnlyFileIsReceivedWithoutComplaint) {
    const std::string path = files.File("readonly.Lumivan");
    WriteFile(path, "[MessageIN]\nMessage___0=still\nBottomLine0=here\nPassword__0=\n");
    chmod(path.c_str(), 0444);
    ASSERT_EQ(Receive(path), 1);
    EXPECT_EQ(receiver.Slot(3), "still|here|");
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(ReadFile(path), "[MessageIN]\nMessage___0=still\nBottomLine0=here\nPassword__0=\n");
}

TEST_F(MessageFileTest, AFileInTheWorkFolderIsLeftWhereItIs) {
    // The receiver reads through a copy in the work folder; a file there of the copy's
    // own name must survive.
    const std::string folder = Work();
    std::filesystem::create_directory(folder);
    const std::string content = "[MessageIN]\nMessage___0=kept\nBottomLine0=file\n";
    for (const char* name : {"Received.Lumivan", "NewMessage.Lumivan"}) {
        WriteFile(folder + name, content);
        ASSERT_EQ(Receive(folder + name), 1) << name;
        EXPECT_EQ(ReadFile(folder + name), content) << name;
    }
    EXPECT_EQ(receiver.Slot(3), "kept|file|");
    EXPECT_EQ(receiver.Slot(4), "kept|file|");
}

TEST_F(MessageFileTest, AFullListRefusesTheMessageAndSaysSo) {
    std::string full = "[params]\nFirstTime=0\n[Messages]\n";
    for (int i = 0; i < MessageStore::kMaxSlots; ++i)
        full += "Message___" + std::to_string(i) + "=m" + std::to_string(i) + "\n";
    WriteFile(receiverFolder.File("Lumivan.ini"), full);
    const std::string path = files.File("late.Lumivan");
    WriteFile(path, "[MessageIN]\nMessage___0=late\nBottomLine0=sorry\n");

    EXPECT_EQ(Receive(path), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "The message was not received");
    EXPECT_NE(boxes.boxes[0].text.find("full"), std::string::npos);
    IniFile check(&textStore, "guest");
    ASSERT_EQ(check.Init(receiverFolder.Path(), "Lumivan.ini"), 0);
    EXPECT_EQ(check.ReadString("Messages", "Message___999", ""), "m999");
    EXPECT_EQ(check.ReadString("Messages", "Preview", "none"), "none");
}

// Mode bits others have on a file or folder (0 when only the owner may touch it).
unsigned OthersBits(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return 0777;
    return st.st_mode & 077;
}

TEST_F(MessageFileTest, AWorkFolderSomeoneElseMadeOrMayWriteIsNeverUsed) {
    // A settings file of the user's that a planted link would lead the writes into.
    const std::string victim = files.File("victim.ini");
    const std::string victimText = "[Messages]\nMessage___1=mine\n";
    WriteFile(victim, victimText);
    const std::string path = files.File("My Files/NewMessage (1).Lumivan");
    std::filesystem::create_directories(files.File("My Files"));
    WriteFile(path, "[MessageIN]\nMessage___0=safe\nBottomLine0=and sound\n");

    std::filesystem::create_directory(Work());
    for (const char* name : {"Received.Lumivan", "NewMessage.Lumivan", "Receive Instructions.txt"})
        std::filesystem::create_symlink(victim, Work() + name);
    // Open to everyone's writes: not a place for the user's files.
    chmod(Work().c_str(), 0777);
    for (int round = 0; round < 2; ++round) {
        // Then made by another user (only root can stage that).
        if (round == 1 && (geteuid() != 0 || chmod(Work().c_str(), 0700) != 0 ||
                           chown(Work().c_str(), 65534, 65534) != 0))
            break;
        desktop.opened.clear();
        ASSERT_EQ(Receive(path), 1) << round;
        EXPECT_EQ(receiver.Slot(3 + round), "safe|and sound|");
        SendFromSender("out", "going", "");
        ASSERT_EQ(desktop.opened.size(), 1u);
        const std::string used = desktop.opened[0];
        EXPECT_NE(used, Work());
        EXPECT_EQ(used.rfind(temp.Path() + "lumivane-", 0), 0u) << used;
        EXPECT_EQ(OthersBits(used), 0u) << used;
        EXPECT_EQ(OthersBits(used + "NewMessage.Lumivan"), 0u);
        EXPECT_EQ(OthersBits(used + "Receive Instructions.txt"), 0u);
        EXPECT_EQ(ReadFile(victim), victimText);
    }
}

TEST_F(MessageFileTest, LinksInTheWorkFolderAreNeverFollowed) {
    const std::string victim = files.File("victim.ini");
    const std::string victimText = "[Messages]\nMessage___1=mine\n";
    WriteFile(victim, victimText);
    ASSERT_TRUE(std::filesystem::create_directory(Work()));
    chmod(Work().c_str(), 0700);
    for (const char* name : {"Received.Lumivan", "NewMessage.Lumivan", "Receive Instructions.txt"})
        std::filesystem::create_symlink(victim, Work() + name);
    const std::string path = files.File("friend.Lumivan");
    WriteFile(path, "[MessageIN]\nMessage___0=hello\nBottomLine0=friend\n");

    ASSERT_EQ(Receive(path), 1);
    EXPECT_EQ(receiver.Slot(3), "hello|friend|");
    SendFromSender("out", "going", "");
    EXPECT_EQ(desktop.opened, (std::vector<std::string>{Work()}));
    EXPECT_EQ(ReadFile(victim), victimText);
    // What sending made are files of the user's own, closed to others.
    for (const std::string& made : {Sent(), Instructions()}) {
        EXPECT_FALSE(std::filesystem::is_symlink(std::filesystem::symlink_status(made))) << made;
        EXPECT_EQ(OthersBits(made), 0u) << made;
    }
    EXPECT_NE(ReadFile(Sent()).find("Message___0=out"), std::string::npos);
}

TEST_F(MessageFileTest, WithoutARuntimeFolderTheWorkGoesToAFreshPrivateFolder) {
    runtimeDir.Unset();
    SendFromSender("out", "going", "");
    ASSERT_EQ(desktop.opened.size(), 1u);
    const std::string used = desktop.opened[0];
    EXPECT_EQ(used.rfind(temp.Path() + "lumivane-", 0), 0u) << used;
    EXPECT_EQ(OthersBits(used), 0u);
    // The same folder serves the whole run.
    const std::string path = files.File("friend.Lumivan");
    WriteFile(path, "[MessageIN]\nMessage___0=hello\nBottomLine0=friend\n");
    ASSERT_EQ(Receive(path), 1);
    EXPECT_EQ(MessageWorkFolder(), used);
}


}  // namespace
}  // namespace lumi
