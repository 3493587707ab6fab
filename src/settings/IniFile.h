// The settings store: one INI file with per-user sections, escaped multi-line values,
// length limits and a write that touches the file only when a value changes.
#pragma once

#include <string>
#include <string_view>

namespace lumi {

class ProfileStore;

class IniFile {
public:
    static constexpr size_t kValueBuffer = 1000;  // a stored value has at most 999 characters
    static constexpr size_t kIntBuffer = 30;

    // Uses the platform's profile functions unless a store is given, and the logged-on
    // user unless a user name is given (tests).
    explicit IniFile(ProfileStore* store = nullptr, std::string_view userName = {});

    // folder "$CURRENT" (the settings folder), "$SYSTEM", "$DISABLE", or "" when
    // fileName is a full path. 0 when ready (or disabled), 1 when the self-test failed.
    int Init(const std::string& folder, const std::string& fileName);

    // The unescaped value, or def (also unescaped) when file, section or key is missing;
    // the lookup has room for size - 1 bytes, so at most size - 2 characters arrive. A
    // disabled store gives def exactly as passed (at most size - 1 characters).
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def,
                           size_t size = kValueBuffer);
    // Touches the file only when the stored value differs from value.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Integers are stored as 32-bit values on every platform, as the Windows build keeps
    // them: WriteUInt stores the low 32 bits, WriteInt clamps to the signed 32-bit range.
    void WriteUInt(std::string_view section, std::string_view key, unsigned long value);
    void WriteInt(std::string_view section, std::string_view key, long value);
    // Six decimals with '.' whatever the locale.
    void WriteFloat(std::string_view section, std::string_view key, double value);
    // Leading decimal digits ("12abc" is 12); def when none. 2147483648..4294967295 read
    // as the negative value with the same 32 bits (so WriteUInt of a negative int comes
    // back), larger values saturate at the signed 32-bit limits.
    long ReadInt(std::string_view section, std::string_view key, long def);
    // A leading decimal number with '.'; def when none or when not finite.
    double ReadFloat(std::string_view section, std::string_view key, double def);

    std::string ReadStringForUser(std::string_view section, std::string_view key, std::string_view def,
                                  size_t size = kValueBuffer);
    void WriteStringForUser(std::string_view section, std::string_view key, std::string_view value);
    void WriteUIntForUser(std::string_view section, std::string_view key, unsigned long value);
    void WriteIntForUser(std::string_view section, std::string_view key, long value);
    void WriteFloatForUser(std::string_view section, std::string_view key, double value);
    long ReadIntForUser(std::string_view section, std::string_view key, long def);
    double ReadFloatForUser(std::string_view section, std::string_view key, double def);

    // The section name a per-user operation uses: "%s-%s" with the user when multi-user.
    std::string UserSection(std::string_view section) const;

    int FirstTime() const { return firstTime_; }
    const std::string& FilePath() const { return filePath_; }
    const std::string& UserName() const { return userName_; }
    bool IsOpened() const { return opened_ != 0; }
    bool IsDisabled() const { return disabled_ != 0; }
    bool IsMultiUser() const { return multiUser_ != 0; }

    // Escaping of line breaks and backslashes, in place, with the store's limits.
    static void Encode(std::string& text);
    static void Decode(std::string& text);
    // Whether ReadString with this size gives text back whole: the size limits the stored
    // form, in which a line break or a backslash takes two characters.
    static bool ReadsBackWhole(std::string_view text, size_t size);
    // The longest start of text that ReadString with this size gives back whole.
    static std::string ReadableStart(std::string_view text, size_t size);

private:
    ProfileStore& Store() const;
    void ReportWriteFailure(std::string_view section, std::string_view key);

    ProfileStore* store_;
    std::string givenUserName_;
    bool writeFailureReported_ = false;
    int firstTime_ = 0;
    std::string filePath_;
    std::string userName_;
    int opened_ = 0;
    int disabled_ = 0;
    int multiUser_ = 0;
};

// The main instance over "Lumivan.ini", opened by the saver and the settings dialog.
IniFile& MainIni();
// For tests: replaces the main instance by a fresh, closed one (optionally on a store
// and for a given user).
void ResetMainIni(ProfileStore* store = nullptr, std::string_view userName = {});

// A bound integer setting of the main file.
struct IniSetting {
    int shared;          // non-zero: plain section; zero: per-user section
    int defaultValue;
    const char* section;
    const char* key;

    int Get() const;
    void Set(int value) const;
};

extern const IniSetting SettingMoon;                // params/Moon, per-user, 1
extern const IniSetting SettingSouthernHemisphere;  // params/SouthernHemisphere, per-user, 0
extern const IniSetting SettingMoonSize;            // params/MoonSize, per-user, 1
extern const IniSetting SettingAirplanes;           // params/Airplanes, per-user, 1
extern const IniSetting SettingMoonLower;           // params/moon, per-user, 1

// The stored form of secret texts (messages with a password, the mail password).
void ScrambleText(std::string& text, size_t capacity);
void UnscrambleText(std::string& text);
// Copies section EncryptPlease Line1, Line2, ... scrambled into section Encrypted.
void EncryptPleaseUtility(IniFile& ini);

}  // namespace lumi
