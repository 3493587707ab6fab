// The command-line reader. Everything here is untrusted text from whoever started us:
// numbers are range-checked, missing values are errors, nothing is read past the end.
#include "host/CommandLine.h"

#include <cctype>
#include <cstdint>

namespace lumi {

namespace {

// Window handles and X window ids are 32-bit values; anything larger is not a window.
constexpr uint64_t kMaxWindowId = 0xFFFFFFFFu;
constexpr int64_t kMaxOffset = 1'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool ContainsNoCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    for (size_t i = 0; i + part.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < part.size() && Lower(text[i + k]) == Lower(part[k])) ++k;
        if (k == part.size()) return true;
    }
    return false;
}

// The saver's handle reader: the longest run of digits, no sign, no hexadecimal. A run too
// long for a handle is remembered as such rather than wrapped into some other window.
struct HandleRead {
    bool tooBig = false;
    uint64_t value = 0;
};

HandleRead ReadDecimalHandle(std::string_view text, size_t& pos) {
    HandleRead r;
    while (pos < text.size() && IsDigit(text[pos])) {
        if (!r.tooBig) {
            r.value = r.value * 10 + static_cast<uint64_t>(text[pos] - '0');
            if (r.value > kMaxWindowId) r.tooBig = true;
        }
        ++pos;
    }
    return r;
}

void SkipBlanks(std::string_view text, size_t& pos) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

bool IsWindow(const WindowQueries& windows, const HandleRead& handle) {
    if (handle.tooBig || handle.value == 0) return false;
    return windows.isWindow ? windows.isWindow(handle.value) : true;
}

uint64_t Foreground(const WindowQueries& windows) {
    return windows.foregroundWindow ? windows.foregroundWindow() : 0;
}

CommandLine Failure(std::string message, int exitCode) {
    CommandLine c;
    c.mode = RunMode::Error;
    c.error = std::move(message);
    c.exitCode = exitCode;
    return c;
}

CommandLine Mode(RunMode mode, uint64_t window = 0) {
    CommandLine c;
    c.mode = mode;
    c.window = window;
    return c;
}

// A whole token as an unsigned number in [0, max]: decimal, or hexadecimal after "0x".
bool ParseUnsigned(std::string_view text, uint64_t max, uint64_t& out, bool allowHex) {
    int base = 10;
    if (allowHex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return false;
    uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (IsDigit(c)) digit = c - '0';
        else if (base == 16 && Lower(c) >= 'a' && Lower(c) <= 'f') digit = Lower(c) - 'a' + 10;
        else return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > max) return false;
    }
    out = value;
    return true;
}

bool ParseXWindowId(std::string_view text, uint64_t& out) {
    return ParseUnsigned(text, kMaxWindowId, out, true) && out != 0;
}

bool ParseSize(std::string_view text, int maxSide, int& width, int& height) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    uint64_t w = 0, h = 0;
    if (!ParseUnsigned(text.substr(0, x), static_cast<uint64_t>(maxSide), w, false)) return false;
    if (!ParseUnsigned(text.substr(x + 1), static_cast<uint64_t>(maxSide), h, false)) return false;
    if (w == 0 || h == 0) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// X geometry: "WxH", "WxH+X+Y", "+X+Y"; each offset carries its own sign.
bool ParseGeometry(std::string_view text, WindowGeometry& g) {
    const size_t sign = text.find_first_of("+-");
    std::string_view size = text.substr(0, sign);
    WindowGeometry result;
    if (!size.empty() && !ParseSize(size, SnapshotOptions::kMaxSide, result.width, result.height)) return false;
    if (sign != std::string_view::npos) {
        std::string_view rest = text.substr(sign);
        int values[2] = {0, 0};
        for (int& v : values) {
            if (rest.empty() || (rest[0] != '+' && rest[0] != '-')) return false;
            const bool negative = rest[0] == '-';
            rest.remove_prefix(1);
            size_t n = 0;
            while (n < rest.size() && IsDigit(rest[n])) ++n;
            uint64_t magnitude = 0;
            if (!ParseUnsigned(rest.substr(0, n), kMaxOffset, magnitude, false)) return false;
            v = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
            rest.remove_prefix(n);
        }
        if (!rest.empty()) return false;
        result.hasPosition = true;
        result.x = values[0];
        result.y = values[1];
    } else if (size.empty()) {
        return false;
    }
    g = result;
    return true;
}

int DaysInMonth(int year, int month1to12) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month1to12 == 2 && leap ? 29 : kDays[month1to12 - 1];
}

// Exactly `count` digits at pos.
bool ReadFixedDigits(std::string_view text, size_t& pos, int count, int& out) {
    if (pos + static_cast<size_t>(count) > text.size()) return false;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[pos + static_cast<size_t>(i)];
        if (!IsDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    pos += static_cast<size_t>(count);
    out = value;
    return true;
}

bool Expect(std::string_view text, size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

const char kUsage[] =
    "Usage: lumivane [OPTION]\n"
    "A night sky with twinkling stars, the moon in its true phase and messages written\n"
    "with stars.\n"
    "\n"
    "Screen-saver switches:\n"
    "  /s              run full screen\n"
    "  /p ID, /l ID    run inside the window ID\n"
    "  /c[:ID]         open the settings (owned by window ID)\n"
    "  (nothing)       open the settings\n"
    "\n"
    "XScreenSaver conventions:\n"
    "  -root           draw on the root window (or in $XSCREENSAVER_WINDOW)\n"
    "  -window-id ID   draw into the X window ID (decimal or 0x hexadecimal)\n"
    "  -window         run in an ordinary window\n"
    "  -geometry WxH[+X+Y]  size and place of that window\n"
    "  -fps            show the frame rate and the CPU load in the lower-left corner\n"
    "\n"
    "Other options:\n"
    "  --snapshot FILE.png  draw the sky without a display and save it\n"
    "      --size WxH       picture size (default 1024x768)\n"
    "      --ticks N        ticks to run before saving (default 300)\n"
    "      --at TIME        the moment to show\n"
    "      --seed N         fix the random sequence\n"
    "  --moon [--at TIME]   print the moon's phase\n"
    "  --check-mail         check the mail account now and print the count\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "TIME is YYYY-MM-DD[THH:MM[:SS]] in local time, the same followed by Z for UTC or by\n"
    "an offset such as +02:00, or @SECONDS since 1970-01-01 UTC.\n"
    "\n"
    "A message file from a friend: lumivane /s FILE.Lumivan\n"
    "The log of the last run: $XDG_STATE_HOME/lumivane/lumivane.log.txt\n"
    "(default ~/.local/state/lumivane/lumivane.log.txt).\n";

const char kAtTimeHint[] =
    "use YYYY-MM-DD[THH:MM[:SS]] followed by Z for UTC, by an offset such as +02:00, or by\n"
    "nothing for local time (e.g. 2024-04-23T23:49Z), or @SECONDS since 1970";

// Takes an option's value from "--name=value" or from the next argument.
bool TakeValue(const std::vector<std::string>& args, size_t& i, std::string_view token, std::string& value) {
    const size_t eq = token.find('=');
    if (eq != std::string_view::npos) {
        value = std::string(token.substr(eq + 1));
        return !value.empty();
    }
    if (i + 1 >= args.size()) return false;
    const std::string& next = args[i + 1];
    if (next.empty() || next.rfind("--", 0) == 0) return false;
    value = next;
    ++i;
    return true;
}

CommandLine ParseLongOptions(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help") return Mode(RunMode::Help);
        if (args[i] == "--version") return Mode(RunMode::Version);
    }
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] != "--check-mail") continue;
        if (args.size() != 2) return Failure("--check-mail takes no other option", 2);
        return Mode(RunMode::CheckMail);
    }
    CommandLine c = Mode(RunMode::Error);
    bool snapshot = false, moon = false, hasSize = false, hasTicks = false, hasSeed = false, hasAt = false;
    SnapshotOptions options;
    AtTime at;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string_view token = args[i];
        const std::string_view name = token.substr(0, token.find('='));
        std::string value;
        if (name == "--snapshot") {
            if (snapshot || moon) return Failure("--snapshot and --moon are given more than once", 2);
            if (!TakeValue(args, i, token, value)) return Failure("--snapshot needs a file name", 2);
            snapshot = true;
            options.file = value;
        } else if (name == "--moon") {
            if (snapshot || moon) return Failure("--snapshot and --moon are given more than once", 2);
            if (token != name) return Failure("--moon takes no value", 2);
            moon = true;
        } else if (name == "--size") {
            if (!TakeValue(args, i, token, value) ||
                !ParseSize(value, SnapshotOptions::kMaxSide, options.width, options.height))
                return Failure("--size needs WIDTHxHEIGHT, each 1 to 8192", 2);
            hasSize = true;
        } else if (name == "--ticks") {
            uint64_t n = 0;
            if (!TakeValue(args, i, token, value) ||
                !ParseUnsigned(value, static_cast<uint64_t>(SnapshotOptions::kMaxTicks), n, false))
                return Failure("--ticks needs a number from 0 to 10000000", 2);
            options.ticks = static_cast<long>(n);
            hasTicks = true;
        } else if (name == "--seed") {
            uint64_t n = 0;
            if (!TakeValue(args, i, token, value) || !ParseUnsigned(value, 0xFFFFFFFFu, n, false))
                return Failure("--seed needs a number from 0 to 4294967295", 2);
            options.seed = static_cast<uint32_t>(n);
            hasSeed = true;
        } else if (name == "--at") {
            const bool emptyValue = token == name && i + 1 < args.size() && args[i + 1].empty();
            if (emptyValue || (TakeValue(args, i, token, value) && !ParseAtTime(value, at)))
                return Failure("--at: \"" + value + "\" is not a valid time\n" + AtTimeHint(), 2);
            if (value.empty()) return Failure(std::string("--at needs a time\n") + AtTimeHint(), 2);
            hasAt = true;
        } else {
            return Failure("unknown option: " + std::string(token), 2);
        }
    }
    if (snapshot) {
        options.hasAt = hasAt;
        options.at = at;
        options.hasSeed = hasSeed;
        c = Mode(RunMode::Snapshot);
        c.snapshot = options;
        return c;
    }
    if (moon) {
        if (hasSize || hasTicks || hasSeed) return Failure("--moon takes only --at", 2);
        c = Mode(RunMode::Moon);
        c.hasAt = hasAt;
        c.at = at;
        return c;
    }
    return Failure("--size, --ticks, --at and --seed belong to --snapshot or --moon", 2);
}

bool IsXScreenSaverOption(std::string_view a) {
    if (a.rfind("--", 0) == 0) a.remove_prefix(1);
    return a == "-root" || a == "-window-id" || a == "-window" || a == "-geometry" || a == "-fps";
}

CommandLine ParseXScreenSaver(const std::vector<std::string>& args, const char* environmentWindow,
                              const WindowQueries& windows) {
    bool root = false, hasId = false, fps = false;
    uint64_t id = 0;
    WindowGeometry geometry;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string_view a = args[i];
        if (a.rfind("--", 0) == 0) a.remove_prefix(1);
        if (a == "-root") {
            root = true;
        } else if (a == "-fps") {
            fps = true;
        } else if (a == "-window") {
            // The default: an ordinary window, placed by -geometry when given.
        } else if (a == "-window-id") {
            if (i + 1 >= args.size() || !ParseXWindowId(args[i + 1], id))
                return Failure("-window-id needs a window id (decimal or 0x hexadecimal)", 2);
            hasId = true;
            ++i;
        } else if (a == "-geometry") {
            if (i + 1 >= args.size() || !ParseGeometry(args[i + 1], geometry))
                return Failure("-geometry needs WIDTHxHEIGHT[+X+Y]", 2);
            ++i;
        } else {
            return Failure("unknown option: " + args[i], 2);
        }
    }
    if (hasId) {
        if (windows.isWindow && !windows.isWindow(id)) return Failure("-window-id names no window", -1);
        CommandLine c = Mode(RunMode::Preview, id);
        c.previewHost = PreviewHost::XScreenSaver;
        c.fps = fps;
        return c;
    }
    if (root) {
        // The daemon names its own window in the environment; a stale or garbled value
        // falls back to the root window rather than drawing nowhere.
        uint64_t envId = 0;
        if (environmentWindow && ParseXWindowId(environmentWindow, envId) &&
            (!windows.isWindow || windows.isWindow(envId))) {
            CommandLine c = Mode(RunMode::Preview, envId);
            c.previewHost = PreviewHost::XScreenSaver;
            c.fps = fps;
            return c;
        }
        CommandLine c = Mode(RunMode::Root);
        c.fps = fps;
        return c;
    }
    CommandLine c = Mode(RunMode::Window);
    c.geometry = geometry;
    c.fps = fps;
    return c;
}

}  // namespace

CommandLine ParseSaverSwitches(std::string_view text, PasswordMode passwordMode, const WindowQueries& windows) {
    size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos++];
        switch (c) {
            case ' ':
            case '-':
            case '/':
                continue;
            case 's':
            case 'S':
                return Mode(RunMode::FullScreen);
            case 'p':
            case 'P':
            case 'l':
            case 'L': {
                SkipBlanks(text, pos);
                const HandleRead handle = ReadDecimalHandle(text, pos);
                if (!IsWindow(windows, handle)) return Failure("the preview switch needs a window", -1);
                return Mode(RunMode::Preview, handle.value);
            }
            case 'c':
            case 'C': {
                HandleRead handle;
                if (pos < text.size() && text[pos] == ':') {
                    ++pos;
                    handle = ReadDecimalHandle(text, pos);
                }
                return Mode(RunMode::Configure, IsWindow(windows, handle) ? handle.value : Foreground(windows));
            }
            case 'a':
            case 'A': {
                if (passwordMode != PasswordMode::Legacy)
                    return Failure("the password switch is handled by the system", -1);
                SkipBlanks(text, pos);
                const HandleRead handle = ReadDecimalHandle(text, pos);
                return Mode(RunMode::ChangePassword, IsWindow(windows, handle) ? handle.value : Foreground(windows));
            }
            default:
                return Failure(std::string("unknown switch: ") + c, -1);
        }
    }
    return Mode(RunMode::Configure, 0);
}

CommandLine ParseCommandLine(const std::vector<std::string>& args, Dialect dialect, const char* xscreensaverWindow,
                             PasswordMode passwordMode, const WindowQueries& windows) {
    bool longOption = false, xOption = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (dialect == Dialect::Linux && IsXScreenSaverOption(args[i])) xOption = true;
        else if (args[i].rfind("--", 0) == 0) longOption = true;
    }
    if (longOption) return ParseLongOptions(args);
    if (xOption) return ParseXScreenSaver(args, xscreensaverWindow, windows);

    std::string text;
    for (size_t i = 1; i < args.size(); ++i) {
        if (i > 1) text += ' ';
        text += args[i];
    }
    CommandLine c = ParseSaverSwitches(text, passwordMode, windows);
    if (c.mode != RunMode::Error && args.size() > 2 && ContainsNoCase(args[2], ".Lumivan")) c.messageFile = args[2];
    return c;
}

bool ParseAtTime(std::string_view text, AtTime& out) {
    AtTime at;
    if (!text.empty() && text[0] == '@') {
        std::string_view digits = text.substr(1);
        bool negative = false;
        if (!digits.empty() && digits[0] == '-') {
            negative = true;
            digits.remove_prefix(1);
        }
        uint64_t magnitude = 0;
        if (!ParseUnsigned(digits, 1ull << 40, magnitude, false)) return false;
        at.kind = AtTime::Kind::Epoch;
        at.epochSeconds = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
        out = at;
        return true;
    }
    size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadFixedDigits(text, pos, 4, year) || !Expect(text, pos, '-') || !ReadFixedDigits(text, pos, 2, month) ||
        !Expect(text, pos, '-') || !ReadFixedDigits(text, pos, 2, day))
        return false;
    if (pos < text.size() && (text[pos] == 'T' || text[pos] == 't' || text[pos] == ' ')) {
        ++pos;
        if (!ReadFixedDigits(text, pos, 2, hour) || !Expect(text, pos, ':') || !ReadFixedDigits(text, pos, 2, minute))
            return false;
        if (Expect(text, pos, ':')) {
            if (!ReadFixedDigits(text, pos, 2, second)) return false;
            // A fraction of a second is accepted and dropped: nothing in the sky moves faster.
            if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
                const size_t start = ++pos;
                while (pos < text.size() && IsDigit(text[pos])) ++pos;
                if (pos == start) return false;
            }
        }
    }
    at.kind = AtTime::Kind::Local;
    if (pos < text.size() && (text[pos] == 'Z' || text[pos] == 'z')) {
        at.kind = AtTime::Kind::Utc;
        ++pos;
    } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        // "+hh", "+hhmm" or "+hh:mm"; the hours always take two digits.
        const int sign = text[pos] == '-' ? -1 : 1;
        ++pos;
        int hours = 0, minutes = 0;
        if (!ReadFixedDigits(text, pos, 2, hours)) return false;
        if (pos < text.size()) {
            Expect(text, pos, ':');
            if (!ReadFixedDigits(text, pos, 2, minutes)) return false;
        }
        if (hours > 23 || minutes > 59) return false;
        at.kind = AtTime::Kind::Utc;
        at.offsetSeconds = sign * (hours * 3600 + minutes * 60);
    }
    if (pos != text.size()) return false;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59)
        return false;
    at.calendar.year = year - 1900;
    at.calendar.month = month - 1;
    at.calendar.day = day;
    at.calendar.hour = hour;
    at.calendar.minute = minute;
    at.calendar.second = second;
    at.calendar.isDst = -1;
    out = at;
    return true;
}

std::optional<int64_t> AtTimeSeconds(const AtTime& at, Clock& clock) {
    switch (at.kind) {
        case AtTime::Kind::Epoch:
            return at.epochSeconds;
        case AtTime::Kind::Utc:
            return DaysFromCivil(at.calendar.year + 1900, at.calendar.month + 1, at.calendar.day) * 86400 +
                   at.calendar.hour * 3600 + at.calendar.minute * 60 + at.calendar.second - at.offsetSeconds;
        case AtTime::Kind::Local:
            return clock.FromLocal(at.calendar);
    }
    return std::nullopt;
}

bool ResolveAtTime(const AtTime& at, Clock& clock, int64_t& utcSeconds) {
    const std::optional<int64_t> seconds = AtTimeSeconds(at, clock);
    if (!seconds || *seconds < 0 || *seconds > INT32_MAX) return false;
    utcSeconds = *seconds;
    return true;
}

const char* AtTimeHint() { return kAtTimeHint; }

const char* UsageText() { return kUsage; }

}  // namespace lumi
