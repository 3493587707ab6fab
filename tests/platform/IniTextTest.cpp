// The INI text store: lookups as the profile functions do them, edits that keep every
// other byte, and file writes that never lose the file.
#include "platform/IniText.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "common/TestSupport.h"

namespace lumi {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(IniLookupTest, MatchesSectionsAndKeysWithoutRegardToCase) {
    const std::string text = "[Params]\nCuckoo=1\n[INFO]\nini file=x\n";
    EXPECT_EQ(IniLookup(text, "params", "cuckoo"), "1");
    EXPECT_EQ(IniLookup(text, "PARAMS", "CUCKOO"), "1");
    EXPECT_EQ(IniLookup(text, "info", "INI FILE"), "x");
    EXPECT_EQ(IniLookup(text, "params", "ini file"), std::nullopt);
    EXPECT_EQ(IniLookup(text, "sound", "cuckoo"), std::nullopt);
    EXPECT_EQ(IniLookup("", "params", "cuckoo"), std::nullopt);
}

TEST(IniLookupTest, TrimsBlanksAndOnePairOfMatchingQuotes) {
    const std::string text =
        "  [ s ]  \r\n"
        "  a  =  one two  \r\n"
        "b=\"quoted\"\r\n"
        "c='single'\r\n"
        "d=\"unmatched'\r\n"
        "e=\"\"twice\"\"\r\n"
        "f=\t\r\n"
        "g=\"\r\n";
    EXPECT_EQ(IniLookup(text, "s", "a"), "one two");
    EXPECT_EQ(IniLookup(text, "s", "b"), "quoted");
    EXPECT_EQ(IniLookup(text, "s", "c"), "single");
    EXPECT_EQ(IniLookup(text, "s", "d"), "\"unmatched'");
    EXPECT_EQ(IniLookup(text, "s", "e"), "\"twice\"");
    EXPECT_EQ(IniLookup(text, "s", "f"), "");
    EXPECT_EQ(IniLookup(text, "s", "g"), "\"");
}

TEST(IniLookupTest, IgnoresCommentsKeysOutsideSectionsAndLaterDuplicates) {
    const std::string text =
        "\xEF\xBB\xBFtop=0\n"
        "[s]\n"
        ";a=comment\n"
        "no equals sign\n"
        "a=first\n"
        "A=second\n"
        "[t]\n"
        "b=in t\n"
        "[S]\n"
        "b=in second s\n";
    EXPECT_EQ(IniLookup(text, "s", "a"), "first");
    EXPECT_EQ(IniLookup(text, "s", "top"), std::nullopt);
    EXPECT_EQ(IniLookup(text, "s", ";a"), std::nullopt);
    EXPECT_EQ(IniLookup(text, "s", "b"), std::nullopt);  // the first [s] is the section
    EXPECT_EQ(IniLookup(text, "t", "b"), "in t");
    // The byte-order mark does not hide a section on the first line.
    EXPECT_EQ(IniLookup("\xEF\xBB\xBF[x]\nk=v\n", "x", "k"), "v");
}

TEST(IniAssignTest, ChangesOnlyTheValueOfAnExistingKey) {
    const std::string text = "; settings\r\n[s]\r\n  Key = old value \r\n\r\n[t]\r\nother=1";
    EXPECT_EQ(IniAssign(text, "S", "key", "new"),
              "; settings\r\n[s]\r\n  Key = new\r\n\r\n[t]\r\nother=1");
}

TEST(IniAssignTest, AddsKeysAfterTheLastKeyOfTheirSectionWithTheFilesLineEnds) {
    const std::string crlf = "[s]\r\na=1\r\n; note\r\n\r\n[t]\r\nb=2\r\n";
    EXPECT_EQ(IniAssign(crlf, "s", "c", "3"), "[s]\r\na=1\r\nc=3\r\n; note\r\n\r\n[t]\r\nb=2\r\n");
    EXPECT_EQ(IniAssign("[s]\n\n[t]\n", "s", "c", "3"), "[s]\nc=3\n\n[t]\n");
    // A last line without a line end gets one before the new key.
    EXPECT_EQ(IniAssign("[s]\na=1", "s", "b", "2"), "[s]\na=1\nb=2");
}

TEST(IniAssignTest, AppendsNewSectionsAndCreatesTextFromNothing) {
    EXPECT_EQ(IniAssign("", "params", "FirstTime", "0"), "[params]\nFirstTime=0\n");
    EXPECT_EQ(IniAssign("[s]\r\na=1", "t", "b", "2"), "[s]\r\na=1\r\n[t]\r\nb=2\r\n");
}

TEST(IniAssignTest, AFileCutInsideItsLastLineEndKeepsItsLastValue) {
    // The last line ends in a carriage return alone; adding a section behind it makes that
    // a CR LF, and the value reads the same before and after.
    const std::string cut = "[s]\na=1 \r";
    EXPECT_EQ(IniLookup(cut, "s", "a"), "1");
    const std::optional<std::string> added = IniAssign(cut, "t", "b", "2");
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, "[s]\na=1 \r\n[t]\nb=2\n");
    EXPECT_EQ(IniLookup(*added, "s", "a"), "1");
    EXPECT_EQ(IniLookup("[s]\na=\"x\"\r", "s", "a"), "x");
    // A section header cut the same way is that section, before and after a key goes in.
    EXPECT_EQ(IniAssign("[s\r", "s", "k", "v"), "[s\r\nk=v\r\n");
    EXPECT_EQ(IniLookup("[s\r\nk=v\n", "s", "k"), "v");
}

TEST(IniAssignTest, RefusesWhatCannotBeOneIniLine) {
    for (const auto& [section, key, value] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"s", "k", "two\nlines"}, {"s", "k", "cr\rhere"}, {"s", "k", std::string("nul\0", 4)},
             {"s]x", "k", "v"}, {"s", "k=1", "v"}, {"s", ";k", "v"}, {"", "k", "v"}, {"s", " ", "v"}})
        EXPECT_EQ(IniAssign("", section, key, value), std::nullopt) << section << "/" << key;
}

class IniTextStoreTest : public ::testing::Test {
protected:
    TempFolder folder;
    IniTextStore store;

    size_t FilesInFolder() const {
        size_t n = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) ++n;
        return n;
    }
};

TEST_F(IniTextStoreTest, MissingFileGivesTheDefaultCutToTheBuffer) {
    const std::string path = folder.File("none.ini");
    EXPECT_EQ(store.Read(path, "s", "k", "default", 100), "default");
    EXPECT_EQ(store.Read(path, "s", "k", "default", 4), "def");
    EXPECT_EQ(store.Read(path, "s", "k", "default", 0), "");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(IniTextStoreTest, WriteCreatesTheFileAndKeepsEveryOtherByte) {
    const std::string path = folder.File("a.ini");
    ASSERT_TRUE(store.Write(path, "params", "FirstTime", "0"));
    EXPECT_EQ(ReadFile(path), "[params]\nFirstTime=0\n");

    const std::string handEdited = "; my notes \t\r\n[Params]\r\nfirsttime = 0\r\n\r\n[other]\r\nx=  y  \r\n";
    WriteFile(path, handEdited);
    ASSERT_TRUE(store.Write(path, "PARAMS", "FirstTime", "1"));
    EXPECT_EQ(ReadFile(path), "; my notes \t\r\n[Params]\r\nfirsttime = 1\r\n\r\n[other]\r\nx=  y  \r\n");
    EXPECT_EQ(store.Read(path, "other", "X", "", 100), "y");
    EXPECT_EQ(store.Read(path, "params", "firstTIME", "", 3), "1");
    EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left behind
}

TEST_F(IniTextStoreTest, WriteFailsWithoutLosingAnythingWhenThePlaceIsUnusable) {
    WriteFile(folder.File("plain"), "not a folder");
    EXPECT_FALSE(store.Write(folder.File("missing/a.ini"), "s", "k", "v"));
    EXPECT_FALSE(store.Write(folder.File("plain/a.ini"), "s", "k", "v"));
    EXPECT_FALSE(store.Write(folder.Path(), "s", "k", "v"));
    EXPECT_FALSE(store.Write("", "s", "k", "v"));
    EXPECT_FALSE(store.Write(folder.File("a.ini"), "s", "k", "line\nbreak"));
    EXPECT_EQ(ReadFile(folder.File("plain")), "not a folder");
    EXPECT_EQ(store.Read(folder.File("plain/a.ini"), "s", "k", "d", 10), "d");
    EXPECT_EQ(store.Read(folder.Path(), "s", "k", "d", 10), "d");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(IniTextStoreTest, ReadOnlyFileOrFolderRefusesWrites) {
    // Root ignores file permissions: run as an ordinary user.
    testing::AsUnprivilegedUser(folder, [&] {
        const std::string path = folder.File("ro.ini");
        WriteFile(path, "[s]\nk=old\n");
        ASSERT_EQ(chmod(path.c_str(), 0444), 0);
        EXPECT_FALSE(store.Write(path, "s", "k", "new"));
        EXPECT_EQ(ReadFile(path), "[s]\nk=old\n");

        ASSERT_EQ(chmod(path.c_str(), 0644), 0);
        ASSERT_EQ(chmod(folder.Path().c_str(), 0555), 0);
        EXPECT_FALSE(store.Write(path, "s", "k", "new"));
        EXPECT_FALSE(store.Write(folder.File("fresh.ini"), "s", "k", "v"));
        chmod(folder.Path().c_str(), 0755);
        EXPECT_EQ(ReadFile(path), "[s]\nk=old\n");
    });
}

TEST_F(IniTextStoreTest, ReplacedFileKeepsItsPermissionsAndLinksKeepPointing) {
    const std::string path = folder.File("private.ini");
    WriteFile(path, "[Email]\nPassword=x\n");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(store.Write(path, "Email", "Password", "y"));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    const std::string link = folder.File("link.ini");
    std::filesystem::create_symlink(path, link);
    ASSERT_TRUE(store.Write(link, "Email", "Password", "z"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(path), "[Email]\nPassword=z\n");
}

}  // namespace
}  // namespace lumi
