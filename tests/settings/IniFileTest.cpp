// The settings store over real files: opening and its self-test, escaped texts, integers
// and reals, per-user sections, writes only on change, the limits and their boxes.
#include "settings/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

#include "common/TestSupport.h"
#include "platform/IniText.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {
namespace {

using testing::ReadFile;
using testing::RecordingMessageBoxes;
using testing::TempFolder;
using testing::WriteFile;

// The real text store, counting the writes that reach it; can be told to refuse them.
class CountingStore : public ProfileStore {
public:
    std::string Read(const std::string& path, std::string_view section, std::string_view key, std::string_view def,
                     size_t size) override {
        return inner.Read(path, section, key, def, size);
    }
    bool Write(const std::string& path, std::string_view section, std::string_view key,
               std::string_view value) override {
        ++writes;
        return !refuse && inner.Write(path, section, key, value);
    }
    IniTextStore inner;
    int writes = 0;
    bool refuse = false;
};

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestartLogAt(folder.File("test.log"));
        ResetErrorReports();
    }

    // An opened store on a file of the temporary folder, for user guest.
    IniFile& Open(const std::string& content = {}) {
        path = folder.File("Lumivan.ini");
        if (!content.empty()) WriteFile(path, content);
        ini = std::make_unique<IniFile>(&store, "guest");
        EXPECT_EQ(ini->Init(folder.Path(), "Lumivan.ini"), 0);
        return *ini;
    }

    TempFolder folder;
    RecordingMessageBoxes boxes;
    CountingStore store;
    std::unique_ptr<IniFile> ini;
    std::string path;
};

TEST_F(IniFileTest, FirstOpeningMarksTheFileAndLaterOpeningsDoNot) {
    IniFile& first = Open();
    EXPECT_EQ(first.FirstTime(), 1);
    EXPECT_EQ(first.FilePath(), path);
    EXPECT_TRUE(first.IsOpened());
    EXPECT_FALSE(first.IsMultiUser());
    const std::string text = ReadFile(path);
    for (const char* line : {"FirstTime=0\n", "MultiUser=0\n", "LastUserName=guest\n", "random=",
                             "ini file=" /* path follows */, "OsVerHuman="})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_NE(text.find("ini file=" + path + "\n"), std::string::npos);

    IniFile second(&store, "guest");
    EXPECT_EQ(second.Init(folder.Path(), "Lumivan.ini"), 0);
    EXPECT_EQ(second.FirstTime(), 0);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(IniFileTest, ReopeningWritesOnlyWhatChanged) {
    Open();
    store.writes = 0;
    IniFile again(&store, "guest");
    ASSERT_EQ(again.Init(folder.Path(), "Lumivan.ini"), 0);
    EXPECT_LE(store.writes, 1);  // the self-test's number, unless it drew the same one

    const std::string before = ReadFile(path);
    store.writes = 0;
    again.WriteString("Messages", "Message___1", "hello");
    again.WriteString("messages", "MESSAGE___1", "hello");
    again.WriteInt("CDCounter", "Year", 2010);
    again.WriteUInt("cdcounter", "year", 2010);
    EXPECT_EQ(store.writes, 2);
    EXPECT_EQ(again.ReadString("MESSAGES", "message___1", "none"), "hello");
    EXPECT_NE(ReadFile(path), before);
}

TEST_F(IniFileTest, UnwritableFileFailsTheSelfTestWithTheConfigurationBox) {
    WriteFile(folder.File("plain"), "x");
    for (const std::string& where : {folder.File("missing/"), folder.File("plain/")}) {
        boxes.boxes.clear();
        IniFile ini(&store, "guest");
        EXPECT_EQ(ini.Init(where, "Lumivan.ini"), 1) << where;
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].caption, "Infile: Configuration Problem");
        EXPECT_EQ(boxes.boxes[0].text, "#2319: Please reinstall (ini)\n");
        EXPECT_EQ(boxes.boxes[0].icon, BoxIcon::Error);
    }
    const std::string log = ReadFile(folder.File("test.log"));
    EXPECT_NE(log.find("Expecting from INI:"), std::string::npos);
    EXPECT_NE(log.find("Got from INI:0"), std::string::npos);

    // Even root cannot get past a store that refuses.
    store.refuse = true;
    IniFile refused(&store, "guest");
    EXPECT_EQ(refused.Init(folder.Path(), "Refused.ini"), 1);
}

TEST_F(IniFileTest, ReadOnlyFileFailsTheSelfTest) {
    // Root ignores file permissions: run as an ordinary user.
    testing::AsUnprivilegedUser(folder, [&] {
        path = folder.File("Lumivan.ini");
        WriteFile(path, "[params]\nFirstTime=0\n");
        ASSERT_EQ(chmod(path.c_str(), 0444), 0);
        IniFile ini(&store, "guest");
        EXPECT_EQ(ini.Init(folder.Path(), "Lumivan.ini"), 1);
        ASSERT_FALSE(boxes.boxes.empty());
        EXPECT_EQ(boxes.boxes.back().caption, "Infile: Configuration Problem");
        EXPECT_EQ(ReadFile(path), "[params]\nFirstTime=0\n");
    });
}

TEST_F(IniFileTest, DisabledStoreReadsDefaultsAndCreatesNoFile) {
    for (const auto& [where, name] : {std::pair<std::string, std::string>{"$DISABLE", "Lumivan.ini"},
                                      {folder.Path(), "$disable"}}) {
        IniFile ini(&store, "guest");
        EXPECT_EQ(ini.Init(where, name), 0);
        EXPECT_TRUE(ini.IsDisabled());
        ini.WriteString("s", "k", "v");
        ini.WriteIntForUser("s", "n", 5);
        EXPECT_EQ(ini.ReadString("s", "k", "def"), "def");
        EXPECT_EQ(ini.ReadInt("s", "n", 7), 7);
        // Disabled for good: a second opening stays a no-op and does not fail.
        EXPECT_EQ(ini.Init(folder.Path(), "Lumivan.ini"), 0);
        EXPECT_EQ(ini.ReadString("params", "FirstTime", "d"), "d");
    }
    EXPECT_EQ(store.writes, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);  // the log only
}

TEST_F(IniFileTest, UseBeforeOpeningAndSecondOpeningAreReported) {
    IniFile closed(&store, "guest");
    EXPECT_EQ(closed.ReadString("s", "k", "def"), "def");
    closed.WriteString("s", "k", "v");
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].caption, "#9123: IniFile");
    EXPECT_EQ(boxes.boxes[0].text, "Not initialized");
    EXPECT_EQ(boxes.boxes[1].caption, "#9124: Inifile");
    EXPECT_EQ(boxes.boxes[1].text, "Attempt to write when not initialized");
    EXPECT_EQ(store.writes, 0);

    IniFile& ini = Open();
    boxes.boxes.clear();
    EXPECT_EQ(ini.Init(folder.Path(), "Lumivan.ini"), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Inifile: Already initialized");
    EXPECT_EQ(boxes.boxes[0].text, "Lumivan.ini");
}

TEST_F(IniFileTest, FolderAndNameAreJoinedWithOneSeparator) {
    IniFile ini(&store, "guest");
    ASSERT_EQ(ini.Init(folder.Path(), "\\LumivanPrivateSettings.ini"), 0);
    EXPECT_EQ(ini.FilePath(), folder.File("LumivanPrivateSettings.ini"));
    IniFile full(&store, "guest");
    ASSERT_EQ(full.Init("", folder.File("NewMessage.Lumivan")), 0);
    EXPECT_TRUE(std::filesystem::exists(folder.File("NewMessage.Lumivan")));
}

TEST_F(IniFileTest, MultiLineTextsAndBackslashesSurviveAsOneLine) {
    IniFile& ini = Open();
    const std::string text = "first\r\nsecond\nC:\\path\\";
    ini.WriteString("Messages", "Message___1", text);
    EXPECT_NE(ReadFile(path).find("Message___1=first\\r\\nsecond\\nC:\\\\path\\\\\n"), std::string::npos);
    EXPECT_EQ(ini.ReadString("Messages", "Message___1", ""), text);

    WriteFile(path, ReadFile(path) + "[hand]\nx=\\x\nlone=ends\\\n");
    EXPECT_EQ(ini.ReadString("hand", "x", ""), "x");
    EXPECT_EQ(ini.ReadString("hand", "lone", ""), "ends\\");
    // Defaults are unescaped too.
    EXPECT_EQ(ini.ReadString("hand", "missing", "a\\nb"), "a\nb");
}

TEST_F(IniFileTest, AReadSizeLimitsTheStoredFormInWhichBreaksAndBackslashesTakeTwo) {
    IniFile& ini = Open();
    // Size 11 delivers 9 stored characters: "C:\\ab\\c" is "C:", two for the backslash,
    // "ab", two for the next one and "c": 9 in all, one more would not fit.
    const std::string fits = "C:\\ab\\c";
    EXPECT_TRUE(IniFile::ReadsBackWhole(fits, 11));
    EXPECT_FALSE(IniFile::ReadsBackWhole(fits + "d", 11));
    ini.WriteString("Sound", "WavFile", fits);
    EXPECT_EQ(ini.ReadString("Sound", "WavFile", "", 11), fits);
    ini.WriteString("Sound", "WavFile", fits + "d");
    EXPECT_EQ(ini.ReadString("Sound", "WavFile", "", 11), fits);
    EXPECT_EQ(IniFile::ReadableStart(fits + "d", 11), fits);
    // A pair is never split: 7 characters of room end before the second backslash.
    EXPECT_EQ(IniFile::ReadableStart(fits, 9), "C:\\ab");
    EXPECT_EQ(IniFile::ReadableStart(fits, 10), "C:\\ab\\");
    EXPECT_EQ(IniFile::ReadableStart("a\r\nb", 6), "a\r");
    EXPECT_EQ(IniFile::ReadableStart("abc", 2), "");
    EXPECT_EQ(IniFile::ReadableStart("abc", 0), "");
    EXPECT_TRUE(IniFile::ReadsBackWhole("", 2));
}

TEST_F(IniFileTest, OuterBlanksAndQuotesOfAValueSurvive) {
    IniFile& ini = Open();
    for (const std::string text : {" padded ", "\"quoted\"", "'single'", "\t", "\"\""}) {
        ini.WriteString("Messages", "BottomLine1", text);
        EXPECT_EQ(ini.ReadString("Messages", "BottomLine1", "?"), text);
        store.writes = 0;
        ini.WriteString("Messages", "BottomLine1", text);
        EXPECT_EQ(store.writes, 0) << "rewritten: [" << text << "]";
    }
}

TEST_F(IniFileTest, WritesKeepCommentsAndOtherLinesByteForByte) {
    const std::string head = "; my own notes\r\n[Sound]\r\nSound = 110 \r\n  ; indented\r\n\r\n";
    IniFile& ini = Open(head);
    ini.WriteInt("sound", "SOUND", 143);
    ini.WriteString("Sound", "WavFile", "x.wav");
    const std::string text = ReadFile(path);
    const std::string expected = "; my own notes\r\n[Sound]\r\nSound = 143\r\nWavFile=x.wav\r\n  ; indented\r\n\r\n";
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    // Every line the store added ends the way the file's own lines do.
    for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', lf + 1))
        ASSERT_EQ(text[lf - 1], '\r') << text;
}

TEST_F(IniFileTest, PerUserSectionsApplyOnlyWhenMultiUserIsSet) {
    IniFile& single = Open();
    EXPECT_EQ(single.UserSection("CDCounter"), "CDCounter");
    single.WriteIntForUser("CDCounter", "Year", 2005);
    EXPECT_NE(ReadFile(path).find("[CDCounter]\nYear=2005"), std::string::npos);

    WriteFile(path, "[params]\nMultiUser=1\n");
    IniFile multi(&store, "guest");
    ASSERT_EQ(multi.Init(folder.Path(), "Lumivan.ini"), 0);
    EXPECT_TRUE(multi.IsMultiUser());
    multi.WriteIntForUser("CDCounter", "Year", 2010);
    multi.WriteString("WallPaper", "path", "/pictures");
    EXPECT_EQ(multi.ReadIntForUser("CDCounter", "Year", 2003), 2010);
    EXPECT_EQ(multi.ReadInt("CDCounter", "Year", 2003), 2003);
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("[CDCounter-guest]\nYear=2010"), std::string::npos);
    EXPECT_NE(text.find("[WallPaper]\npath=/pictures"), std::string::npos);
    EXPECT_NE(text.find("MultiUser=1"), std::string::npos);

    const std::string longName(120, 's');
    EXPECT_EQ(multi.UserSection(longName).size(), 99u);
}

TEST_F(IniFileTest, IntegersReadLikeScanfAndStayIn32Bits) {
    IniFile& ini = Open(
        "[n]\nmixed=12abc\nword=abc\nspaced=  -7 \nplus=+9\nempty=\nallbits=4294967295\n"
        "huge=99999999999\ntiny=-99999999999\n");
    EXPECT_EQ(ini.ReadInt("n", "mixed", 5), 12);
    EXPECT_EQ(ini.ReadInt("n", "word", 5), 5);
    EXPECT_EQ(ini.ReadInt("n", "spaced", 5), -7);
    EXPECT_EQ(ini.ReadInt("n", "plus", 5), 9);
    EXPECT_EQ(ini.ReadInt("n", "empty", 5), 5);
    EXPECT_EQ(ini.ReadInt("n", "missing", 5), 5);
    EXPECT_EQ(ini.ReadInt("n", "allbits", 5), -1);
    EXPECT_EQ(ini.ReadInt("n", "huge", 5), INT32_MAX);
    EXPECT_EQ(ini.ReadInt("n", "tiny", 5), INT32_MIN);

    ini.WriteUInt("n", "u", static_cast<unsigned long>(-2L));
    EXPECT_EQ(ini.ReadString("n", "u", ""), "4294967294");
    EXPECT_EQ(ini.ReadInt("n", "u", 0), -2);
    ini.WriteInt("n", "big", LONG_MAX);
    EXPECT_EQ(ini.ReadInt("n", "big", 0), INT32_MAX);
    ini.WriteInt("n", "neg", -123);
    EXPECT_EQ(ini.ReadIntForUser("n", "neg", 0), -123);
}

TEST_F(IniFileTest, RealsUseSixDecimalsAndAPoint) {
    IniFile& ini = Open("[Font]\nbad=abc\ninf=inf\nlead=  2.5pt\ncomma=3,5\nsigns=+-5\nminus2=--5\nlone=-\n");
    ini.WriteFloat("Font", "FontSize", 10.5);
    EXPECT_NE(ReadFile(path).find("FontSize=10.500000\n"), std::string::npos);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Font", "FontSize", 0), 10.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Font", "bad", 1.25), 1.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Font", "inf", 1.25), 1.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Font", "lead", 0), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Font", "comma", 0), 3.0);
    // One sign only, as "%f" reads it: a second one makes the text no number at all.
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Font", "signs", 1.25), 1.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Font", "minus2", 1.25), 1.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Font", "lone", 1.25), 1.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Font", "missing", 1e-9), 1e-9);
    ini.WriteFloatForUser("Font", "neg", -0.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloatForUser("Font", "neg", 0), -0.25);
}

TEST_F(IniFileTest, OverlongValuesAreReportedAndCutWithinTheLimit) {
    IniFile& ini = Open();
    ini.WriteString("s", "long", std::string(1200, 'a'));
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes[0].caption, "#9125: Inifile");
    EXPECT_EQ(boxes.boxes[0].text, "Write: too long string");
    // 999 characters are stored; a read into a 1000-byte buffer gives the lookup room
    // for 999 bytes with its terminator, so 998 arrive.
    EXPECT_EQ(ini.ReadString("s", "long", ""), std::string(998, 'a'));
    EXPECT_EQ(ini.ReadString("s", "long", "", 1001), std::string(999, 'a'));

    // Escaping that would pass the limit stops before a pair, never inside one.
    boxes.boxes.clear();
    ini.WriteString("s", "breaks", std::string(600, '\n'));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "#9129: Inifile");
    EXPECT_EQ(boxes.boxes[0].text, "Encode buffer problem");
    EXPECT_EQ(ini.ReadString("s", "breaks", ""), std::string(499, '\n'));

    EXPECT_EQ(ini.ReadString("s", "long", "", 10), std::string(8, 'a'));
    EXPECT_EQ(ini.ReadString("s", "missing", "0123456789", 10), "01234567");
    EXPECT_EQ(ini.ReadString("s", "long", "", 3), "a");
    EXPECT_EQ(ini.ReadString("s", "long", "", 2), "");
    EXPECT_EQ(ini.ReadString("s", "long", "", 1), "");
}

TEST(IniFileCodingTest, EncodeAndDecodeReportTheirLimits) {
    RecordingMessageBoxes boxes;
    std::string text(1000, 'x');
    IniFile::Encode(text);
    EXPECT_EQ(text.size(), 999u);
    text = std::string(1000, 'y');
    IniFile::Decode(text);
    EXPECT_EQ(text.size(), 999u);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].caption, "#9128: Inifile");
    EXPECT_EQ(boxes.boxes[0].text, "Encode: too long string");
    EXPECT_EQ(boxes.boxes[1].caption, "#9121: IniFile");
    EXPECT_EQ(boxes.boxes[1].text, "Decode size");
}

TEST_F(IniFileTest, BoundSettingsUseTheMainFileAndTheUsersSection) {
    WriteFile(folder.File("Lumivan.ini"), "[params]\nMultiUser=1\nMoon=0\n");
    ResetMainIni(&store, "guest");
    ASSERT_EQ(MainIni().Init(folder.Path(), "Lumivan.ini"), 0);
    EXPECT_EQ(SettingMoon.Get(), 1);  // the plain section's 0 is not this user's
    EXPECT_EQ(SettingSouthernHemisphere.Get(), 0);
    SettingMoonSize.Set(0);
    SettingAirplanes.Set(-1);
    EXPECT_EQ(SettingMoonSize.Get(), 0);
    EXPECT_EQ(SettingAirplanes.Get(), -1);
    EXPECT_NE(ReadFile(folder.File("Lumivan.ini")).find("[params-guest]\nMoonSize=0\nAirplanes=4294967295"),
              std::string::npos);

    const IniSetting shared{1, 4, "params", "Moon"};
    EXPECT_EQ(shared.Get(), 0);
    const IniSetting unnamed{1, 4, "", "Moon"};
    const IniSetting keyless{1, 4, "params", nullptr};
    EXPECT_EQ(unnamed.Get(), 4);
    EXPECT_EQ(keyless.Get(), 4);
    store.writes = 0;
    unnamed.Set(9);
    keyless.Set(9);
    EXPECT_EQ(store.writes, 0);
    ResetMainIni();
}

}  // namespace
}  // namespace lumi
