#include "shell/gtk/GtkText.h"

#include <cctype>

#include "gfx/Font.h"

namespace lumi::gtkui {

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

std::string ToWidgetText(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            plain += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            plain += text[i];
        }
    }
    return Utf8FromCodePage(plain);
}

std::string FromWidgetText(const std::string& text) {
    std::string out;
    for (char c : CodePageFromUtf8(text)) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string MnemonicLabel(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (text[i] == '&') {
            out += '_';
        } else if (text[i] == '_') {
            out += "__";
        } else {
            out += text[i];
        }
    }
    return Utf8FromCodePage(out);
}

std::string AmpersandLabel(const std::string& label) {
    std::string out;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '_' && i + 1 < label.size() && label[i + 1] == '_') {
            out += '_';
            ++i;
        } else if (label[i] == '_') {
            out += '&';
        } else if (label[i] == '&') {
            out += "&&";
        } else {
            out += label[i];
        }
    }
    return CodePageFromUtf8(out);
}

std::string CaseInsensitivePattern(const std::string& pattern) {
    if (pattern == "*.*") return "*";
    std::string out;
    for (char c : pattern) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalpha(u) && u < 0x80) {
            out += '[';
            out += static_cast<char>(std::tolower(u));
            out += static_cast<char>(std::toupper(u));
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace lumi::gtkui
