// The log file and its four loggers. Every line opens, appends and closes the file, so
// the log is complete at any moment, even after a crash.
#include "base/Log.h"

#include <cstdio>
#include <cstdlib>
#include <locale>
#include <sstream>
#include <utility>

#include "base/BuildInfo.h"
#include "base/Clock.h"

namespace lumi {

std::atomic<bool> LoggingEnabled{false};
std::atomic<uint32_t> LogLineCount{0};

namespace {

// The saver's thread and the mail worker both log: one lock keeps each line (and the
// limit warning after it) whole, and keeps the file from being emptied mid-line.
// A std::mutex is constant-initialised and trivially destroyed, so it is usable during
// static initialisation and process exit.
std::mutex logMutex;
std::mutex appLogMutex;
std::atomic<TpelurLogFileWithSelfCheck*> appLog{nullptr};
std::mutex setupMutex;
LogSetup& Setup() {
    static LogSetup* setup = new LogSetup();  // never freed: read during process exit
    return *setup;
}

// Read on every line without the setup's lock.
std::atomic<std::FILE* (*)(const char*, const char*)> fileOpener{nullptr};

std::FILE* OpenFile(const std::string& path, const char* mode) {
    auto open = fileOpener.load(std::memory_order_acquire);
    return open ? open(path.c_str(), mode) : std::fopen(path.c_str(), mode);
}

constexpr std::string_view kLimitWarning = "\nWarning: Stopping log as it reached its maximum lines limit\n";

std::string TimeStamp() {
    const LocalTime t = TheClock().LocalNow();
    char buf[48];
    std::snprintf(buf, sizeof buf, "%2.2d:%2.2d:%2.2d.%3.3d", t.hour, t.minute, t.second, t.millisecond);
    return buf;
}

void ShutdownAppLog() {
    if (TpelurLogFileWithSelfCheck* log = appLog.load(std::memory_order_acquire)) log->Shutdown();
}

}  // namespace

bool TpelurFile::Create() const { return FileCreate(path_); }

bool TpelurFile::Exists() const { return FileExists(path_); }

bool FileCreate(const std::string& path) {
    if (path.empty()) return false;
    std::FILE* f = OpenFile(path, "w");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::FILE* f = OpenFile(path, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool FileContainsText(const std::string& path, std::string_view text) {
    std::FILE* f = path.empty() ? nullptr : OpenFile(path, "rb");
    if (!f) return false;
    if (text.empty()) {
        std::fclose(f);
        return true;
    }
    // Searched in chunks that overlap by the text's length, so a file of any size is
    // searched without being held in memory whole.
    std::string window;
    char chunk[16384];
    bool found = false;
    size_t n;
    while (!found && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        window.append(chunk, n);
        found = window.find(text) != std::string::npos;
        if (window.size() >= text.size()) window.erase(0, window.size() - (text.size() - 1));
    }
    std::fclose(f);
    return found;
}

void TpelurTextFile::Write(std::string_view text) {
    if (path_.empty()) return;
    // Text mode, so "\n" becomes the platform's line end.
    std::FILE* f = OpenFile(path_, "at");
    if (!f) return;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

TpelurLogger::TpelurLogger(std::string prefix, std::string suffix)
    : prefix_(std::move(prefix)), suffix_(std::move(suffix)) {}

TpelurLogger::~TpelurLogger() { Close(); }

void TpelurLogger::Close() {
    if (closed_.exchange(true)) return;
    std::string text = "Closing logger:";
    if (!prefix_.empty()) text.append(prefix_, 0, prefix_.size() - 1);
    text += '\n';
    // The closing line goes out without the prefix. The prefix itself stays untouched,
    // as another thread may be reading it to build a line of its own.
    WriteLine("", text);
}

void TpelurLogger::Write(std::string_view text) {
    if (closed_.load(std::memory_order_acquire)) return;
    WriteLine(prefix_, text);
}

void TpelurLogger::WriteLine(std::string_view prefix, std::string_view text) {
    if (!LoggingEnabled.load() && !always_) return;
    if (path_.empty()) return;
    std::string line = TimeStamp();
    line += ' ';
    line += prefix;
    line += text;
    line += suffix_;

    std::lock_guard<std::mutex> lock(logMutex);
    // A deleted log stops every line but error lines; an error line makes it anew.
    if (!always_ && !Exists()) return;
    TpelurTextFile::Write(line);
    if (LogLineCount.fetch_add(1) + 1 > MaxLogLines) {
        TpelurTextFile::Write(kLimitWarning);
        LoggingEnabled.store(false);
    }
}

void TpelurLogger::Log(std::string_view name, std::string_view text) {
    std::string line(name);
    line += ": ";
    line += text;
    Write(line);
}

void TpelurLogger::LogSigned(std::string_view name, long long value) {
    std::string line(name);
    line += std::to_string(value);
    line += " NEW INT CONV ";
    Write(line);
}

void TpelurLogger::LogUnsigned(std::string_view name, unsigned long long value) {
    std::string line(name);
    line += std::to_string(value);
    line += " NEW INT CONV ";
    Write(line);
}

void TpelurLogger::Log(std::string_view name, double value) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << value;
    std::string line(name);
    line += s.str();
    Write(line);
}

TpelurLogFile::TpelurLogFile()
    : Info("info> ", "\n"), Plain("", ""), Warning("WARNING> ", "\n"), Error("ERROR> ", "\n") {
    Error.SetAlways(true);
}

void TpelurLogFile::SetFileName(const std::string& path) {
    TpelurFile::SetFileName(path);
    Info.SetFileName(path);
    Plain.SetFileName(path);
    Warning.SetFileName(path);
    Error.SetFileName(path);
}

void TpelurLogFile::LogWithTime(std::string_view text) {
    const LocalTime t = TheClock().LocalNow();
    char buf[96];
    std::snprintf(buf, sizeof buf, "%i/%i/%i %i:%i:%i", t.year + 1900, t.month + 1, t.day, t.hour, t.minute,
                  t.second);
    Info.Log(text, std::string_view(buf));
}

void TpelurLogFile::StartLog() {
    if (!LoggingEnabled.load()) return;
    {
        std::lock_guard<std::mutex> lock(logMutex);
        Create();
        LogLineCount.store(0);
    }
    LogWithTime("Log Started");
}

TpelurLogFileWithSelfCheck::TpelurLogFileWithSelfCheck() : TpelurLogFileWithSelfCheck(CurrentLogSetup().path) {}

TpelurLogFileWithSelfCheck::TpelurLogFileWithSelfCheck(const std::string& path) {
    SetFileName(path);
    Create();
    LoggingEnabled.store(Exists());
    if (LoggingEnabled.load()) {
        StartLog();
        Info.Log("Build date", BuildDate());
        const LogSetup setup = CurrentLogSetup();
        Info.Log("==== System Report ====", setup.systemReport ? setup.systemReport() : std::string());
    }
    // Kept from the start-up sequence: a later version is meant to prompt the user when
    // a log already shows errors. Nothing acts on the answers yet.
    if (FileContainsText(path_, "ERROR>")) FileContainsText(path_, "StopUserPrompt");
}

TpelurLogFileWithSelfCheck::~TpelurLogFileWithSelfCheck() { Shutdown(); }

void TpelurLogFileWithSelfCheck::Shutdown() {
    if (shutDown_.exchange(true)) return;
    LogWithTime("Log closing down");
    Error.Close();
    Warning.Close();
    Plain.Close();
    Info.Close();
}

TpelurLogFileWithSelfCheck& AppLog() {
    if (TpelurLogFileWithSelfCheck* log = appLog.load(std::memory_order_acquire)) return *log;
    std::lock_guard<std::mutex> lock(appLogMutex);
    if (TpelurLogFileWithSelfCheck* log = appLog.load(std::memory_order_acquire)) return *log;
    // Never deleted: a thread or a static destructor may still log during exit, and must
    // find a live object (that by then drops the line).
    auto* log = new TpelurLogFileWithSelfCheck();
    appLog.store(log, std::memory_order_release);
    std::atexit(ShutdownAppLog);
    return *log;
}

void RestartLogAt(const std::string& path) {
    TpelurLogFileWithSelfCheck& log = AppLog();
    log.SetFileName(path);
    LoggingEnabled.store(log.Create() && log.Exists());
    log.StartLog();
}

void SetLogSetup(LogSetup setup) {
    std::lock_guard<std::mutex> lock(setupMutex);
    fileOpener.store(setup.openFile, std::memory_order_release);
    Setup() = std::move(setup);
}

LogSetup CurrentLogSetup() {
    std::lock_guard<std::mutex> lock(setupMutex);
    return Setup();
}

std::string BuildDateText(std::string_view compilerDate) {
    std::string text;
    for (char c : compilerDate) {
        if (c == ' ' && !text.empty() && text.back() == ' ') continue;
        text += c;
    }
    return text;
}

}  // namespace lumi
