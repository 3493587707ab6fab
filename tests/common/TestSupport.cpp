// Shared test fixtures.
#include "common/TestSupport.h"

#include <sys/wait.h>

#include <cstdio>
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

}  // namespace lumi::testing
