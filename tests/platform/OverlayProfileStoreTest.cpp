// A store that reads the files below it and keeps its writes to itself.
#include "platform/OverlayProfileStore.h"

#include <gtest/gtest.h>

#include "common/TestSupport.h"
#include "platform/IniText.h"

namespace lumi {
namespace {

TEST(OverlayProfileStoreTest, ReadsTheFileAndKeepsWritesInMemory) {
    testing::TempFolder folder;
    const std::string path = folder.File("Lumivan.ini");
    const std::string text = "[params]\nTickTime=55\nName = \"  padded  \"\n";
    testing::WriteFile(path, text);
    IniTextStore files;
    OverlayProfileStore store(files);

    EXPECT_EQ(store.Read(path, "PARAMS", "ticktime", "x", 100), "55");
    EXPECT_TRUE(store.Write(path, "Params", "TickTime", "40"));
    EXPECT_TRUE(store.Write(path, "Debug", "error2", "\"  kept blanks  \""));
    EXPECT_EQ(store.Read(path, "params", "TICKTIME", "x", 100), "40");
    EXPECT_EQ(store.Read(path, "debug", "error2", "x", 100), "  kept blanks  ");
    EXPECT_EQ(store.Read(path, "params", "Name", "x", 100), "  padded  ");
    EXPECT_EQ(store.Read(path, "params", "missing", "def", 100), "def");
    // Cut as the profile functions cut: size - 1 characters.
    EXPECT_EQ(store.Read(path, "debug", "error2", "x", 5), "  ke");
    // Another file is another file.
    EXPECT_EQ(store.Read(folder.File("other.ini"), "params", "TickTime", "none", 100), "none");
    // Names no INI line can hold are refused, as the file store refuses them.
    EXPECT_FALSE(store.Write(path, "a]b", "k", "v"));

    EXPECT_EQ(testing::ReadFile(path), text);
}

}  // namespace
}  // namespace lumi
