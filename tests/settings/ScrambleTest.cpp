// The stored form of secret texts: exact round trips, no control bytes in the file, the
// internal errors at the limits, and the EncryptPlease utility.
#include <gtest/gtest.h>

#include <random>

#include "common/TestSupport.h"
#include "settings/IniFile.h"
#include "platform/IniText.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {
namespace {

using testing::ReadFile;
using testing::RecordingMessageBoxes;
using testing::TempFolder;
using testing::WriteFile;

class ScrambleTest : public ::testing::Test {
protected:
    void SetUp() override { ResetErrorReports(); }

    std::vector<std::string> ProblemTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.boxes) {
            EXPECT_EQ(box.caption, "PROBLEM");
            texts.push_back(box.text);
        }
        return texts;
    }

    RecordingMessageBoxes boxes;
};

TEST_F(ScrambleTest, PrintableTextsAndLineBreaksComeBackExactly) {
    std::string alphabet = "\r\n";
    for (char c = 32; c < 127; ++c) alphabet += c;
    std::mt19937 generator(7);
    for (size_t length = 0; length < 500; ++length) {
        std::string text;
        for (size_t i = 0; i < length; ++i) text += alphabet[generator() % alphabet.size()];
        std::string stored = text;
        ScrambleText(stored, 2 * length + 1);
        for (const char c : stored) ASSERT_GE(static_cast<unsigned char>(c), 32u) << "length " << length;
        UnscrambleText(stored);
        ASSERT_EQ(stored, text) << "length " << length;
    }
    EXPECT_EQ(ProblemTexts(), std::vector<std::string>{});
}

TEST_F(ScrambleTest, EveryByteValueComesBack) {
    for (int value = 1; value < 256; ++value) {
        const std::string text = "<" + std::string(1, static_cast<char>(value)) + ">";
        std::string stored = text;
        ScrambleText(stored, 100);
        UnscrambleText(stored);
        EXPECT_EQ(stored, text) << "byte " << value;
    }
}

TEST_F(ScrambleTest, LimitsRaiseTheirInternalErrorsAndStayInsideTheBuffer) {
    std::string longText(500, 'a');
    ScrambleText(longText, 2000);
    EXPECT_EQ(longText.size(), 500u);
    // The stored form may be twice as long as the text; only beyond that is it wrong.
    std::string longStored(999, 'a');
    UnscrambleText(longStored);
    EXPECT_EQ(ProblemTexts(), std::vector<std::string>{"Internal error #4810"});
    longStored.assign(1000, 'a');
    UnscrambleText(longStored);
    EXPECT_EQ(ProblemTexts(), (std::vector<std::string>{"Internal error #4810", "Internal error #4820"}));

    // Line breaks take two stored bytes each; five fit in a buffer of 11 with its terminator.
    boxes.boxes.clear();
    std::string lines(8, '\n');
    ScrambleText(lines, 11);
    EXPECT_EQ(ProblemTexts(), std::vector<std::string>{"Internal error #4811"});
    EXPECT_EQ(lines.size(), 10u);
    UnscrambleText(lines);
    EXPECT_EQ(lines, std::string(5, '\n'));
}

TEST_F(ScrambleTest, CutStoredFormDoesNotReadPastItsEnd) {
    std::string stored = "\n";
    ScrambleText(stored, 10);
    ASSERT_EQ(stored.size(), 2u);
    stored = "ab" + stored.substr(0, 1);
    UnscrambleText(stored);
    EXPECT_EQ(stored.size(), 2u);
}

class ScrambledSettingsTest : public ScrambleTest {
protected:
    void SetUp() override {
        ScrambleTest::SetUp();
        RestartLogAt(folder.File("test.log"));
    }
    TempFolder folder;
    IniTextStore store;
};

TEST_F(ScrambledSettingsTest, StoredFormSurvivesTheSettingsFile) {
    IniFile ini(&store, "guest");
    ASSERT_EQ(ini.Init(folder.Path(), "Lumivan.ini"), 0);
    // '8' is stored as a double quote, '5' as a single one: a text that starts and ends
    // with them must not lose them to the quote stripping of a read.
    std::string quoted = "8 days 8";
    ScrambleText(quoted, 100);
    ASSERT_EQ(quoted.front(), '"');
    ASSERT_EQ(quoted.back(), '"');
    for (const std::string text : {"8 days 8", "5 to 5", "back\\slash\r\nline", "  blanks  ", "\"q\""}) {
        std::string stored = text;
        ScrambleText(stored, 1000);
        ini.WriteString("Messages", "Password__1", stored);
        std::string read = ini.ReadString("Messages", "Password__1", "");
        EXPECT_EQ(read, stored);
        UnscrambleText(read);
        EXPECT_EQ(read, text);
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ScrambledSettingsTest, EncryptPleaseFillsEncryptedUpToTheFirstGap) {
    const std::string path = folder.File("Lumivan.ini");
    WriteFile(path, "[EncryptPlease]\nLine1=first secret\nline2=second\nLine4=after the gap\n");
    IniFile ini(&store, "guest");
    ASSERT_EQ(ini.Init(folder.Path(), "Lumivan.ini"), 0);
    EncryptPleaseUtility(ini);
    for (const auto& [key, text] : {std::pair<const char*, const char*>{"Line1", "first secret"}, {"Line2", "second"}}) {
        std::string stored = ini.ReadString("Encrypted", key, "");
        EXPECT_NE(stored, text);
        UnscrambleText(stored);
        EXPECT_EQ(stored, text);
    }
    EXPECT_EQ(ini.ReadString("Encrypted", "Line4", "none"), "none");
    EXPECT_NE(ReadFile(path).find("[EncryptPlease]\nLine1=first secret\n"), std::string::npos);
}

}  // namespace
}  // namespace lumi
