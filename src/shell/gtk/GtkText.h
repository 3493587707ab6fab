// The conversions between the dialogs' texts and GTK's: the dialogs speak single-byte
// Windows-1252 with "\r\n" line breaks and '&' before a mnemonic; GTK speaks UTF-8 with
// "\n" and '_'. Pure functions, so they are tested without a display.
#pragma once

#include <string>

#include "gfx/CodePage.h"

namespace lumi::gtkui {

using gfx::CodePageFromUtf8;
using gfx::Utf8FromCodePage;

// A dialog text for a GTK widget: code page to UTF-8, "\r\n" (and a lone "\r") to "\n".
std::string ToWidgetText(const std::string& text);
// A widget's text for the dialogs: UTF-8 to code page, "\n" to "\r\n".
std::string FromWidgetText(const std::string& text);

// "May I have a better &Font ?" as GTK's "May I have a better _Font ?" ("&&" is a plain
// '&', '_' is doubled), already in UTF-8.
std::string MnemonicLabel(const std::string& text);
// The other way, for reading a button's text back.
std::string AmpersandLabel(const std::string& label);

// A file pattern that matches without regard to case ("*.WAV" also finds "moon.wav"), and
// "*.*", which on Windows means every file, as "*".
std::string CaseInsensitivePattern(const std::string& pattern);

}  // namespace lumi::gtkui
