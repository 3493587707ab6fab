#include "shell/gtk/GtkText.h"

#include <cctype>

#include "gfx/CodePage.h"

namespace lumi::gtkui {

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
