// Windows-1252, the code page every text of the program is kept in, to UTF-8 and back.
#include "gfx/CodePage.h"

#include "gfx/Font.h"

namespace lumi::gfx {

namespace {

void AppendUtf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// The next character of UTF-8 text at i, or U+FFFD for a broken sequence (one byte eaten).
char32_t NextCharacter(const std::string& text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int more = 0;
    char32_t u = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1;
        u = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2;
        u = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3;
        u = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < more; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0xFFFD;
        u = (u << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return u;
}

char CodePageByte(char32_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (int b = 0x80; b < 0xA0; ++b) {
        if (gfx::Font::ToUnicode(static_cast<unsigned char>(b)) == u) return static_cast<char>(b);
    }
    return '?';
}

}  // namespace

std::string Utf8FromCodePage(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) AppendUtf8(out, gfx::Font::ToUnicode(c));
    return out;
}

std::string CodePageFromUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) out += CodePageByte(NextCharacter(text, i));
    return out;
}

}  // namespace lumi::gfx
