// The user's own places on Linux: the log folder, the scratch folder, and files opened
// without following links, made private, and refused when someone else owns them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/TestSupport.h"
#include "platform/System.h"

namespace lumi {
namespace {

using testing::ScopedEnv;

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;


unsigned Mode(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
}

bool Put(std::FILE* f, const std::string& text) {
    if (!f) return false;
    const bool ok = std::fputs(text.c_str(), f) >= 0;
    return std::fclose(f) == 0 && ok;
}

TEST(PosixSystemTest, TheLogFolderIsTheUsersStateFolderMadePrivate) {
    TempFolder home, state;
    {
        ScopedEnv noState("XDG_STATE_HOME", nullptr);
        ScopedEnv h("HOME", home.Path().c_str());
        EXPECT_EQ(platform::LogFolder(), home.Path() + ".local/state/lumivane/");
        EXPECT_EQ(Mode(home.Path() + ".local/state/lumivane"), 0700u);
    }
    ScopedEnv s("XDG_STATE_HOME", (state.Path() + "deep/er").c_str());
    EXPECT_EQ(platform::LogFolder(), state.Path() + "deep/er/lumivane/");
    EXPECT_EQ(Mode(state.Path() + "deep/er/lumivane"), 0700u);

    // A folder there that others may write to, or a link in its place, is not used.
    chmod((state.Path() + "deep/er/lumivane").c_str(), 0777);
    EXPECT_EQ(platform::LogFolder(), "");
    fs::remove(state.Path() + "deep/er/lumivane");
    fs::create_directory(state.Path() + "elsewhere");
    fs::create_directory_symlink(state.Path() + "elsewhere", state.Path() + "deep/er/lumivane");
    EXPECT_EQ(platform::LogFolder(), "");
    // A relative value is ignored, as the base directory rules say.
    ScopedEnv relative("XDG_STATE_HOME", "relative/state");
    ScopedEnv h("HOME", home.Path().c_str());
    EXPECT_EQ(platform::LogFolder(), home.Path() + ".local/state/lumivane/");
}

TEST(PosixSystemTest, TheScratchFolderIsInTheRuntimeFolderOrAFreshPrivateOne) {
    TempFolder runtime, temp;
    ScopedEnv t("TMPDIR", temp.Path().c_str());
    {
        ScopedEnv r("XDG_RUNTIME_DIR", runtime.Path().c_str());
        EXPECT_EQ(platform::PrivateWorkFolder(), runtime.Path() + "lumivane/");
        EXPECT_EQ(Mode(runtime.Path() + "lumivane"), 0700u);
    }
    ScopedEnv r("XDG_RUNTIME_DIR", nullptr);
    const std::string fresh = platform::PrivateWorkFolder();
    EXPECT_EQ(fresh.rfind(temp.Path() + "lumivane-", 0), 0u) << fresh;
    EXPECT_EQ(Mode(fresh), 0700u);
    EXPECT_EQ(platform::PrivateWorkFolder(), fresh);
}

TEST(PosixSystemTest, UserFilesAreNewAndPrivateAndNeverReachedThroughALink) {
    TempFolder folder;
    const std::string victim = folder.File("victim");
    WriteFile(victim, "precious");
    const std::string link = folder.File("link");
    fs::create_symlink(victim, link);
    for (const char* mode : {"w", "wb", "a", "at", "wbx", "r", "rb"}) {
        errno = 0;
        EXPECT_EQ(platform::OpenUserFile(link.c_str(), mode), nullptr) << mode;
        EXPECT_TRUE(errno == ELOOP || errno == EEXIST) << mode << ": " << errno;
    }
    EXPECT_EQ(ReadFile(victim), "precious");

    // New files are the user's alone; "x" refuses any name that is taken.
    const std::string made = folder.File("made");
    ASSERT_TRUE(Put(platform::OpenUserFile(made.c_str(), "wbx"), "one"));
    EXPECT_EQ(Mode(made), 0600u);
    EXPECT_EQ(platform::OpenUserFile(made.c_str(), "wbx"), nullptr);
    ASSERT_TRUE(Put(platform::OpenUserFile(made.c_str(), "a"), "+two"));
    EXPECT_EQ(ReadFile(made), "one+two");
    ASSERT_TRUE(Put(platform::OpenUserFile(made.c_str(), "w"), "three"));
    EXPECT_EQ(ReadFile(made), "three");

    // A file of ours that others could read is closed to them once written to.
    chmod(made.c_str(), 0666);
    ASSERT_TRUE(Put(platform::OpenUserFile(made.c_str(), "a"), "!"));
    EXPECT_EQ(Mode(made), 0600u);

    // A pipe planted under the name neither blocks nor is taken for a file.
    const std::string pipe = folder.File("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
    EXPECT_EQ(platform::OpenUserFile(pipe.c_str(), "r"), nullptr);
    EXPECT_EQ(platform::OpenUserFile(pipe.c_str(), "a"), nullptr);
}

TEST(PosixSystemTest, AFileOfAnotherUserIsNeitherEmptiedNorWritten) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    TempFolder folder;
    const std::string theirs = folder.File("theirs");
    WriteFile(theirs, "their text");
    ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
    chmod(theirs.c_str(), 0666);
    for (const char* mode : {"w", "a", "r"}) EXPECT_EQ(platform::OpenUserFile(theirs.c_str(), mode), nullptr) << mode;
    EXPECT_EQ(ReadFile(theirs), "their text");
}

}  // namespace
}  // namespace lumi
