// The settings store: opening with its self-test, escaped text values, 32-bit integers,
// locale-free reals, per-user sections, the main instance and the bound settings.
#include "settings/IniFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>

#include "platform/System.h"
#include "platform/IniText.h"
#include "platform/ProfileStore.h"
#include "support/ErrorReport.h"
#include "base/Log.h"
#include "platform/OsReport.h"
#include "base/Random.h"

namespace lumi {

namespace {

constexpr size_t kMaxUserName = 78;
constexpr size_t kMaxUserSection = 99;

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view SkipSpace(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    return s;
}

std::string FormatUnsigned(unsigned long value) { return std::to_string(static_cast<uint32_t>(value)); }

// Moves past leading white space and one '+' or '-', as "%ld" and "%f" both read a
// number's start; true when the sign was '-'.
bool TakeLeadingSign(std::string_view& text) {
    text = SkipSpace(text);
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

std::string FormatSigned(long value) {
    const long long clamped = std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max());
    return std::to_string(clamped);
}

// What "%ld" finds at the start of a text, kept to 32 bits as described in the header.
std::optional<long> ParseLong(std::string_view text) {
    const bool negative = TakeLeadingSign(text);
    constexpr long long kCap = 1LL << 40;  // far past 32 bits, so saturation is decided below
    long long magnitude = 0;
    size_t digits = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits)
        magnitude = std::min(kCap, magnitude * 10 + (text[digits] - '0'));
    if (digits == 0) return std::nullopt;
    const long long value = negative ? -magnitude : magnitude;
    if (value > static_cast<long long>(UINT32_MAX)) return std::numeric_limits<int32_t>::max();
    if (value > std::numeric_limits<int32_t>::max()) return static_cast<long>(value - (1LL << 32));
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<long>(value);
}

std::string FormatDouble(double value) {
    char buffer[400];  // the longest fixed form of a double is 309 digits, a sign and 7 more
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    if (result.ec != std::errc()) return "0.000000";
    return std::string(buffer, result.ptr);
}

// What "%f" finds at the start of a text, with '.' as the decimal point in every locale.
std::optional<double> ParseDouble(std::string_view text) {
    const bool negative = TakeLeadingSign(text);
    // from_chars would read a second sign; scanf would not.
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    // Infinity or NaN from a hand-edited file would poison sizes and positions downstream.
    if (result.ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

std::mutex mainIniMutex;
// Never destroyed: the log and error reports may still reach it while the process ends.
IniFile* mainIni = nullptr;

}  // namespace

IniFile::IniFile(ProfileStore* store, std::string_view userName)
    : store_(store), givenUserName_(userName.substr(0, kMaxUserName)) {}

ProfileStore& IniFile::Store() const { return store_ ? *store_ : PlatformProfileStore(); }

int IniFile::Init(const std::string& folder, const std::string& fileName) {
    if (opened_) ShowErrorBox("Inifile: Already initialized", fileName);
    opened_ = 1;
    if (EqualsNoCase(fileName, "$DISABLE") || EqualsNoCase(folder, "$DISABLE")) disabled_ = 1;
    // Disabled once, disabled for good; the self-test below would only fail.
    if (disabled_) return 0;

    std::string base = folder;
    if (EqualsNoCase(folder, "$SYSTEM")) base = platform::SystemFolder();
    else if (EqualsNoCase(folder, "$CURRENT")) base = platform::SettingsFolder();
    std::string name = fileName;
    // "$CURRENT" ends with a separator and some callers start the name with one: one is
    // enough, and on POSIX a leading backslash would become part of the file name.
    if (!base.empty() && IsSeparator(base.back()) && !name.empty() && IsSeparator(name.front())) name.erase(0, 1);
    filePath_ = base + name;

    userName_ = givenUserName_.empty() ? platform::UserName() : givenUserName_;
    if (userName_.size() > kMaxUserName) userName_.resize(kMaxUserName);
    AppLog().Info.Log("IniFile::Init", filePath_);

    firstTime_ = ReadInt("params", "FirstTime", 1) != 0 ? 1 : 0;
    if (firstTime_) WriteUInt("params", "FirstTime", 0);
    multiUser_ = ReadInt("params", "MultiUser", 0) != 0 ? 1 : 0;
    WriteString("params", "LastUserName", userName_);
    WriteUInt("params", "MultiUser", static_cast<unsigned long>(multiUser_));
    WriteString("info", "ini file", filePath_);
    WriteString("info", "OsVerHuman", OsName());

    // Proves that the file can be written and read back before anything relies on it.
    const int expected = RandomRange(1, 30000);
    WriteUInt("params", "random", static_cast<unsigned long>(expected));
    const long got = ReadInt("params", "random", 0);
    if (got != expected) {
        AppLog().Info.Log("Expecting from INI:", expected);
        AppLog().Info.Log("Got from INI:", got);
        ShowErrorBox("Infile: Configuration Problem", "#2319: Please reinstall (ini)\n");
        return 1;
    }
    return 0;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def,
                                size_t size) {
    // Only the terminator would fit.
    if (size <= 1) return {};
    if (disabled_) return std::string(def.substr(0, size - 1));
    std::string value;
    if (!opened_) {
        ShowErrorBox("#9123: IniFile", "Not initialized");
        value = def.substr(0, size - 1);
    } else {
        // The lookup is given room for size - 1 characters, terminator included, as the
        // Windows build has always called the profile functions: at most size - 2 arrive.
        value = Store().Read(filePath_, section, key, def, size - 1);
    }
    Decode(value);
    return value;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (disabled_) return;
    if (!opened_) {
        // Without a path the profile functions would write into a file of the Windows folder.
        ShowErrorBox("#9124: Inifile", "Attempt to write when not initialized");
        return;
    }
    std::string text(value.substr(0, value.find('\0')));
    if (text.size() >= kValueBuffer) {
        ShowErrorBox("#9125: Inifile", "Write: too long string");
        text.resize(kValueBuffer - 1);
    }
    // Read back with room for the longest value a write stores, so an unchanged value of
    // that length is seen as unchanged.
    if (ReadString(section, key, "", kValueBuffer + 1) == text) return;
    Encode(text);
    // Outer blanks and an outer pair of quotes do not survive a read; one more pair of
    // quotes, which the read removes, keeps them (scrambled texts often end in a quote).
    if (IniValueNeedsQuotes(text)) text = '"' + text + '"';
    if (!Store().Write(filePath_, section, key, text)) ReportWriteFailure(section, key);
}

void IniFile::ReportWriteFailure(std::string_view section, std::string_view key) {
    // Once per file is enough to explain what follows; the self-test already told the user.
    if (writeFailureReported_) return;
    writeFailureReported_ = true;
    AppLog().Warning.Log("IniFile::WriteString",
                         "cannot write " + std::string(section) + "/" + std::string(key) + " to " + filePath_);
}

void IniFile::WriteUInt(std::string_view section, std::string_view key, unsigned long value) {
    WriteString(section, key, FormatUnsigned(value));
}

void IniFile::WriteInt(std::string_view section, std::string_view key, long value) {
    WriteString(section, key, FormatSigned(value));
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    WriteString(section, key, FormatDouble(value));
}

long IniFile::ReadInt(std::string_view section, std::string_view key, long def) {
    const std::string defText = FormatSigned(def);
    const std::string text = ReadString(section, key, defText, kIntBuffer);
    // The default itself comes back unchanged, even beyond 32 bits.
    if (text == defText) return def;
    return ParseLong(text).value_or(def);
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double def) {
    const std::string defText = FormatDouble(def);
    const std::string text = ReadString(section, key, defText, kIntBuffer);
    // The default keeps its full precision, not just six decimals.
    if (text == defText) return def;
    return ParseDouble(text).value_or(def);
}

std::string IniFile::UserSection(std::string_view section) const {
    if (!multiUser_) return std::string(section);
    std::string name = std::string(section) + "-" + userName_;
    if (name.size() > kMaxUserSection) name.resize(kMaxUserSection);
    return name;
}

std::string IniFile::ReadStringForUser(std::string_view section, std::string_view key, std::string_view def,
                                       size_t size) {
    return ReadString(UserSection(section), key, def, size);
}

void IniFile::WriteStringForUser(std::string_view section, std::string_view key, std::string_view value) {
    WriteString(UserSection(section), key, value);
}

void IniFile::WriteUIntForUser(std::string_view section, std::string_view key, unsigned long value) {
    WriteUInt(UserSection(section), key, value);
}

void IniFile::WriteIntForUser(std::string_view section, std::string_view key, long value) {
    WriteInt(UserSection(section), key, value);
}

void IniFile::WriteFloatForUser(std::string_view section, std::string_view key, double value) {
    WriteFloat(UserSection(section), key, value);
}

long IniFile::ReadIntForUser(std::string_view section, std::string_view key, long def) {
    return ReadInt(UserSection(section), key, def);
}

double IniFile::ReadFloatForUser(std::string_view section, std::string_view key, double def) {
    return ReadFloat(UserSection(section), key, def);
}

void IniFile::Encode(std::string& text) {
    bool reported = false;
    if (text.size() >= kValueBuffer) {
        ShowErrorBox("#9128: Inifile", "Encode: too long string");
        text.resize(kValueBuffer - 1);
        reported = true;
    }
    std::string out;
    out.reserve(text.size() + 16);
    for (const char c : text) {
        char piece[2] = {c, 0};
        size_t length = 1;
        if (c == '\r' || c == '\n' || c == '\\') {
            piece[0] = '\\';
            piece[1] = c == '\r' ? 'r' : c == '\n' ? 'n' : '\\';
            length = 2;
        }
        // Cut before a pair rather than inside it, so the value still decodes sensibly.
        if (out.size() + length >= kValueBuffer) {
            if (!reported) ShowErrorBox("#9129: Inifile", "Encode buffer problem");
            break;
        }
        out.append(piece, length);
    }
    text = std::move(out);
}

void IniFile::Decode(std::string& text) {
    if (text.size() >= kValueBuffer) {
        ShowErrorBox("#9121: IniFile", "Decode size");
        text.resize(kValueBuffer - 1);
    }
    size_t out = 0;
    for (size_t in = 0; in < text.size(); ++in) {
        char c = text[in];
        // A backslash at the very end has nothing to escape and stays.
        if (c == '\\' && in + 1 < text.size()) {
            const char next = text[++in];
            c = next == 'r' ? '\r' : next == 'n' ? '\n' : next;
        }
        text[out++] = c;
    }
    text.resize(out);
}

namespace {

size_t StoredCharacters(char c) { return c == '\r' || c == '\n' || c == '\\' ? 2 : 1; }

}  // namespace

bool IniFile::ReadsBackWhole(std::string_view text, size_t size) {
    return ReadableStart(text, size).size() == text.size();
}

std::string IniFile::ReadableStart(std::string_view text, size_t size) {
    // A read delivers at most size - 2 characters of the stored form.
    const size_t room = size >= 2 ? size - 2 : 0;
    size_t stored = 0;
    size_t end = 0;
    for (; end < text.size(); ++end) {
        stored += StoredCharacters(text[end]);
        if (stored > room) break;
    }
    return std::string(text.substr(0, end));
}

IniFile& MainIni() {
    std::lock_guard<std::mutex> lock(mainIniMutex);
    if (!mainIni) mainIni = new IniFile();
    return *mainIni;
}

void ResetMainIni(ProfileStore* store, std::string_view userName) {
    std::lock_guard<std::mutex> lock(mainIniMutex);
    delete mainIni;
    mainIni = new IniFile(store, userName);
}

const IniSetting SettingMoon{0, 1, "params", "Moon"};
const IniSetting SettingSouthernHemisphere{0, 0, "params", "SouthernHemisphere"};
const IniSetting SettingMoonSize{0, 1, "params", "MoonSize"};
const IniSetting SettingAirplanes{0, 1, "params", "Airplanes"};
const IniSetting SettingMoonLower{0, 1, "params", "moon"};

int IniSetting::Get() const {
    if (!section || !*section || !key || !*key) return defaultValue;
    const long value = shared ? MainIni().ReadInt(section, key, defaultValue)
                              : MainIni().ReadIntForUser(section, key, defaultValue);
    return static_cast<int>(value);
}

void IniSetting::Set(int value) const {
    if (!section || !*section || !key || !*key) return;
    // Stored with "%u" like the other flags; ReadInt gives negative values back.
    const auto stored = static_cast<unsigned long>(static_cast<uint32_t>(value));
    if (shared) MainIni().WriteUInt(section, key, stored);
    else MainIni().WriteUIntForUser(section, key, stored);
}

}  // namespace lumi
