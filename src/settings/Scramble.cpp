// The stored form of secret texts (messages with a password, the mail password): every
// byte masked and shifted so that no control character, above all no line break, is stored.
#include <algorithm>
#include <string>

#include "settings/IniFile.h"
#include "support/ErrorReport.h"

namespace lumi {

namespace {

// With any mask below 32 the four printable characters that mask to 32..35 take two
// stored bytes; 0x1C makes them the rare "<=>?" rather than digits or letters. It sends
// neither CR (to 0x11) nor LF (to 0x16) to 1, the one masked value whose plain form
// would be the escape byte itself. Changing it makes every stored secret unreadable.
constexpr unsigned char kMask = 0x1C;
constexpr unsigned char kEscape = 0xFF;
constexpr size_t kInputLimit = 500;
// A text below the input limit may take two bytes per character once stored, so the
// stored form of every acceptable text stays below this.
constexpr size_t kStoredLimit = 2 * kInputLimit;

}  // namespace

void ScrambleText(std::string& text, size_t capacity) {
    if (text.size() >= kInputLimit) InternalError(nullptr, 4810);
    if (text.empty()) return;
    // One byte of the caller's buffer belongs to the terminator.
    const size_t room = capacity > 0 ? capacity - 1 : 0;
    std::string out;
    out.reserve(std::min(room, text.size() * 2));
    for (const char ch : text) {
        const auto a = static_cast<unsigned char>(static_cast<unsigned char>(ch) ^ kMask);
        unsigned char bytes[2];
        size_t length;
        // Masked 1 written plainly would read back as the escape byte, so it is escaped
        // too; the reading side already understands that form.
        if (a == 0 || a > 35) {
            bytes[0] = static_cast<unsigned char>(a - 2);
            length = 1;
        } else {
            bytes[0] = kEscape;
            bytes[1] = static_cast<unsigned char>(a + 32);
            length = 2;
        }
        if (out.size() + length > room) {
            InternalError(nullptr, 4811);
            break;
        }
        out.append(reinterpret_cast<const char*>(bytes), length);
    }
    text = std::move(out);
}

void UnscrambleText(std::string& text) {
    if (text.size() >= kStoredLimit) InternalError(nullptr, 4820);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b == kEscape) {
            // An escape byte at the end has lost its partner: the text was cut.
            if (i + 1 >= text.size()) break;
            b = static_cast<unsigned char>(text[++i]);
            out += static_cast<char>(static_cast<unsigned char>(b - 32) ^ kMask);
        } else {
            out += static_cast<char>(static_cast<unsigned char>(b + 2) ^ kMask);
        }
    }
    text = std::move(out);
}

void EncryptPleaseUtility(IniFile& ini) {
    constexpr size_t kLineBuffer = 2000;
    for (int i = 1;; ++i) {
        const std::string key = "Line" + std::to_string(i);
        std::string text = ini.ReadString("EncryptPlease", key, "", kLineBuffer);
        if (text.empty()) break;
        ScrambleText(text, kLineBuffer);
        ini.WriteString("Encrypted", key, text);
    }
}

}  // namespace lumi
