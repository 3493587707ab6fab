// The program's log: one module-wide file in the temporary folder, written through four
// loggers that differ in their line prefix.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>

namespace lumi {

class TpelurFile {
public:
    void SetFileName(const std::string& path) { path_ = path; }
    std::string GetFileName() const { return path_; }
    // Creates or empties the file; false for an empty path or when it cannot be opened.
    bool Create() const;
    // Whether the file can be opened for reading.
    bool Exists() const;

protected:
    std::string path_;
};

bool FileCreate(const std::string& path);
bool FileExists(const std::string& path);
// True when the file's bytes contain text; false when it cannot be read.
bool FileContainsText(const std::string& path, std::string_view text);

class TpelurTextFile : public TpelurFile {
public:
    virtual ~TpelurTextFile() = default;
    // Appends text to the file (opened and closed for each call).
    virtual void Write(std::string_view text);
};

class TpelurLogger : public TpelurTextFile {
public:
    TpelurLogger(std::string prefix, std::string suffix);
    ~TpelurLogger() override;
    TpelurLogger(const TpelurLogger&) = delete;
    TpelurLogger& operator=(const TpelurLogger&) = delete;

    void Write(std::string_view text) override;
    void SetAlways(bool always) { always_ = always; }
    // Writes the "Closing logger:" line once; the logger writes nothing afterwards, so a
    // line logged late during process exit is dropped instead of touching a dead log.
    void Close();

    // "name: text"
    void Log(std::string_view name, std::string_view text);
    void Log(std::string_view name, const char* text) { Log(name, std::string_view(text ? text : "")); }
    void Log(std::string_view name, const std::string& text) { Log(name, std::string_view(text)); }
    // "name" immediately followed by the value and " NEW INT CONV ".
    template <typename T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    void Log(std::string_view name, T value) {
        if constexpr (std::is_signed_v<T>) LogSigned(name, static_cast<long long>(value));
        else LogUnsigned(name, static_cast<unsigned long long>(value));
    }
    void Log(std::string_view name, bool value) { LogSigned(name, value ? 1 : 0); }
    // "name" immediately followed by the value in general format (6 significant digits).
    void Log(std::string_view name, double value);
    void Log(std::string_view name, float value) { Log(name, static_cast<double>(value)); }

    const std::string& Prefix() const { return prefix_; }

private:
    void WriteLine(std::string_view prefix, std::string_view text);
    void LogSigned(std::string_view name, long long value);
    void LogUnsigned(std::string_view name, unsigned long long value);

    std::string prefix_;
    std::string suffix_;
    bool always_ = false;
    std::atomic<bool> closed_{false};
};

class TpelurLogFile : public TpelurTextFile {
public:
    TpelurLogFile();
    virtual void SetFileName(const std::string& path);
    // Logs text as the name and the local date and time "%i/%i/%i %i:%i:%i" through Info.
    void LogWithTime(std::string_view text);
    // Empties the file, resets the line count and logs "Log Started".
    void StartLog();

    TpelurLogger Info;
    TpelurLogger Plain;
    TpelurLogger Warning;
    TpelurLogger Error;
};

class TpelurLogFileWithSelfCheck : public TpelurLogFile {
public:
    // Empties the file at the path the log setup names (or at path) and heads it with "Log Started",
    // the build date and the system report.
    TpelurLogFileWithSelfCheck();
    explicit TpelurLogFileWithSelfCheck(const std::string& path);
    ~TpelurLogFileWithSelfCheck() override;
    // "Log closing down" and the closing lines of Error, Warning, Plain and Info; done
    // once, at process exit for AppLog.
    void Shutdown();

private:
    std::atomic<bool> shutDown_{false};
};

// The module-wide log, built on first use (the entry point calls it before anything
// else, and no order of static initialisation across files matters). It is never freed:
// at process exit it writes its closing lines and then drops whatever is still logged.
TpelurLogFileWithSelfCheck& AppLog();

// State shared by every logger of the run.
extern std::atomic<bool> LoggingEnabled;
extern std::atomic<uint32_t> LogLineCount;
constexpr uint32_t MaxLogLines = 2000;

// For tests: points the log at another file and starts it there (empties the file,
// enables logging, resets the count).
void RestartLogAt(const std::string& path);
// Where the module-wide log is written and what heads a new log. The log sits below the
// platform and cannot ask it, so the program's start hands both over before the first
// line (platform::StartPlatform); without them AppLog writes nothing.
struct LogSetup {
    std::string path;
    std::string (*systemReport)() = nullptr;
    // How the log's file is opened (fopen modes); nullptr: std::fopen. The platform's
    // opener keeps the file private to the user and follows no link.
    std::FILE* (*openFile)(const char* path, const char* mode) = nullptr;
};
void SetLogSetup(LogSetup setup);
LogSetup CurrentLogSetup();

// The compiler's date ("Dec  7 2026") in the logged form "Dec 7 2026".
std::string BuildDateText(std::string_view compilerDate);

}  // namespace lumi
