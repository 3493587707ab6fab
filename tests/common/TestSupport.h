// Shared test fixtures: a recording message box, a temporary folder, file helpers.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace lumi::testing {

struct RecordedBox {
    std::string caption;
    std::string text;
    BoxIcon icon;
    BoxButtons buttons;
};

// Installs itself as the message-box service for its lifetime and records every box.
class RecordingMessageBoxes : public MessageBoxService {
public:
    RecordingMessageBoxes();
    ~RecordingMessageBoxes() override;
    BoxResult Show(WindowHandle owner, const std::string& text, const std::string& caption, BoxIcon icon,
                   BoxButtons buttons) override;

    std::vector<RecordedBox> boxes;
    BoxResult answer = BoxResult::Ok;
};

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder, ending with '/'.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Runs body as an ordinary user, so file permissions hold for it: in place when the tests
// run as one; as root (CI), in a child process that becomes the user nobody, after the
// folder and everything in it were handed to nobody. The body's EXPECTs report as usual;
// a failed body also fails the test in the parent.
void AsUnprivilegedUser(const TempFolder& folder, const std::function<void()>& body);

// Points the log at log.txt in the folder and opens a fresh main settings file,
// Lumivan.ini, there; what the settings' Init returns (0 when it opened).
int StartLogAndSettingsIn(const TempFolder& folder);

// A shell command's exit code (-1 when it could not start or did not exit by itself) and
// everything it wrote to its standard output.
struct CommandRun {
    int exitCode = -1;
    std::string output;
};
CommandRun RunCommand(const std::string& command);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
std::vector<std::string> ReadLines(const std::string& path);
// The project's source folder (for resources and test data).
std::string SourceDir();

// Sets an environment variable for a test (nullptr unsets it) and puts the old value
// back at the end.
// A virtual X server of the test's own, started with -displayfd so no number is guessed;
// stopped with the object. Display() is "" when it could not start.
class PrivateXvfb {
public:
    // screen is "WIDTHxHEIGHTxDEPTH"; extra arguments follow (e.g. "-extension", "MIT-SHM").
    explicit PrivateXvfb(const std::string& screen, const std::vector<std::string>& extra = {});
    ~PrivateXvfb();
    PrivateXvfb(const PrivateXvfb&) = delete;
    PrivateXvfb& operator=(const PrivateXvfb&) = delete;
    const std::string& Display() const { return display_; }

private:
    int pid_ = -1;
    std::string display_;
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void Unset();

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

}  // namespace lumi::testing
