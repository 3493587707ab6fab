// Shared test fixtures.
#include "common/TestSupport.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <signal.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/IniFile.h"
#include "base/Log.h"

namespace lumi::testing {

RecordingMessageBoxes::RecordingMessageBoxes() { SetMessageBoxes(this); }
RecordingMessageBoxes::~RecordingMessageBoxes() { SetMessageBoxes(nullptr); }

BoxResult RecordingMessageBoxes::Show(WindowHandle, const std::string& text, const std::string& caption,
                                      BoxIcon icon, BoxButtons buttons) {
    boxes.push_back({caption, text, icon, buttons});
    return answer;
}

TempFolder::TempFolder() {
    std::string base = std::filesystem::temp_directory_path().string();
    std::string pattern = base + "/lumivane-test-XXXXXX";
    if (char* made = mkdtemp(pattern.data())) path_ = std::string(made) + "/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

void AsUnprivilegedUser(const TempFolder& folder, const std::function<void()>& body) {
    if (geteuid() != 0) {
        body();
        return;
    }
    const struct passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    std::error_code ec;
    ASSERT_EQ(chown(folder.Path().c_str(), uid, gid), 0);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path(), ec))
        ASSERT_EQ(lchown(entry.path().c_str(), uid, gid), 0) << entry.path();
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0 || geteuid() == 0) {
            std::fprintf(stderr, "cannot become the user nobody\n");
            std::fflush(nullptr);
            _exit(3);
        }
        body();
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the part run as the user nobody failed (its failures are shown above)";
}

int StartLogAndSettingsIn(const TempFolder& folder) {
    RestartLogAt(folder.File("log.txt"));
    ResetMainIni();
    return MainIni().Init(folder.Path(), "Lumivan.ini");
}

CommandRun RunCommand(const std::string& command) {
    CommandRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

std::string SourceDir() {
    if (const char* d = std::getenv("LUMI_SOURCE_DIR")) return d;
#ifdef LUMI_SOURCE_DIR
    return LUMI_SOURCE_DIR;
#else
    return ".";
#endif
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (had_) setenv(name_, old_.c_str(), 1);
    else unsetenv(name_);
}

void ScopedEnv::Unset() { unsetenv(name_); }

PrivateXvfb::PrivateXvfb(const std::string& screen, const std::vector<std::string>& extra) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return;
    }
    if (pid == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 2);
        std::vector<const char*> argv{"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                                      "-nolisten", "tcp"};
        for (const auto& arg : extra) argv.push_back(arg.c_str());
        argv.push_back(nullptr);
        execvp("Xvfb", const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    pid_ = pid;
    close(fds[1]);
    char number[16] = {};
    ssize_t got = 0, n;
    while (got < 15 && (n = read(fds[0], number + got, static_cast<size_t>(15 - got))) > 0) {
        got += n;
        if (std::strchr(number, '\n')) break;
    }
    close(fds[0]);
    if (got > 0) display_ = ":" + std::to_string(std::atoi(number));
}

PrivateXvfb::~PrivateXvfb() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

}  // namespace lumi::testing
