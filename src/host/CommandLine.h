// Reads the program's command line into what to run: the screen-saver switches every
// saver understands, and on Linux the XScreenSaver conventions and our long options.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Clock.h"

namespace lumi {

enum class RunMode {
    FullScreen,      // /s
    Preview,         // /p, /l, -window-id, -root under XScreenSaver: draw into a foreign window
    Configure,       // empty command line or /c
    ChangePassword,  // /a (older Windows family only)
    Root,            // -root without an XScreenSaver window: draw on the X root window
    Window,          // -window [-geometry]: an ordinary top-level window
    Snapshot,        // --snapshot: a headless run written as a PNG
    Moon,            // --moon: print the moon's phase
    CheckMail,       // --check-mail: one mail check now, printed
    Help,
    Version,
    Error,
};

// Who owns the window a preview draws into: the control panel's small window behaves
// like a preview; XScreenSaver's full-screen window is fed by the daemon.
enum class PreviewHost { ControlPanel, XScreenSaver };

// Whether the /a switch exists: only where the saver itself checks the password.
enum class PasswordMode { System, Legacy };

// Which conventions come before the screen-saver switches.
enum class Dialect { Windows, Linux };

struct WindowGeometry {
    int width = 0;  // 0: the shell picks its default size
    int height = 0;
    bool hasPosition = false;
    int x = 0;
    int y = 0;
};

// A moment given with --at: "@seconds" since 1970 (UTC), or a calendar date and time,
// local unless it ends in "Z" or a UTC offset ("+02:00", "-0330", "+05").
struct AtTime {
    enum class Kind { Epoch, Local, Utc };
    Kind kind = Kind::Epoch;
    int64_t epochSeconds = 0;
    LocalTime calendar;      // year since 1900, month 0..11 (Local and Utc)
    int offsetSeconds = 0;   // Utc: how far the calendar time lies east of UTC
};

struct SnapshotOptions {
    static constexpr int kDefaultWidth = 1024;
    static constexpr int kDefaultHeight = 768;
    static constexpr long kDefaultTicks = 300;
    static constexpr int kMaxSide = 8192;
    static constexpr long kMaxTicks = 10'000'000;

    std::string file;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    long ticks = kDefaultTicks;
    bool hasAt = false;
    AtTime at;
    bool hasSeed = false;
    uint32_t seed = 0;
};

struct CommandLine {
    RunMode mode = RunMode::Error;
    // Preview: the window to draw into; Configure: the owner (0: none); ChangePassword:
    // the window the change is made for.
    uint64_t window = 0;
    PreviewHost previewHost = PreviewHost::ControlPanel;
    WindowGeometry geometry;    // Window
    SnapshotOptions snapshot;   // Snapshot
    bool hasAt = false;         // Moon
    AtTime at;                  // Moon
    // The third argument when it names a message file (".Lumivan", any case); "" else.
    std::string messageFile;
    bool fps = false;           // -fps: show the frame rate and the CPU load
    std::string error;          // Error: what was wrong, for the user
    int exitCode = 0;           // Error: -1 for a bad saver switch, 2 for a bad option
};

// The window questions the saver switches need; empty functions treat every nonzero id
// as a window and give no foreground window.
struct WindowQueries {
    std::function<bool(uint64_t)> isWindow;
    std::function<uint64_t()> foregroundWindow;
};

// The screen-saver switches over one text (the command line after the program name),
// walked one character at a time as every saver does.
CommandLine ParseSaverSwitches(std::string_view text, PasswordMode passwordMode, const WindowQueries& windows);

// The whole command line; args[0] is the program. xscreensaverWindow is the value of
// XSCREENSAVER_WINDOW, or nullptr when it is not set (ignored outside the Linux dialect).
CommandLine ParseCommandLine(const std::vector<std::string>& args, Dialect dialect, const char* xscreensaverWindow,
                             PasswordMode passwordMode, const WindowQueries& windows);

// "--at" values; false when the text is not one of the accepted forms or out of range.
bool ParseAtTime(std::string_view text, AtTime& out);
// Seconds since 1970 for an --at value, local forms through the clock's zone; false when
// the moment lies outside 1970..2038 (the sky's clock is signed 32-bit seconds).
bool ResolveAtTime(const AtTime& at, Clock& clock, int64_t& utcSeconds);
// The same without the sky's range (the moon's tables reach further); nullopt only when
// the clock cannot place a local time.
std::optional<int64_t> AtTimeSeconds(const AtTime& at, Clock& clock);
// How --at is written, for messages.
const char* AtTimeHint();

// The usage text of --help.
const char* UsageText();

}  // namespace lumi
