// What the dialogs read from and write to their text fields: numbers typed by the user,
// and texts with line breaks in the form the controls take.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumi::dialogs {

// The unsigned number a field holds: decimal digits with optional blanks (spaces, tabs)
// around them, at most 4294967295. Anything else is not a number (nullopt), as a dialog's
// own integer fields refuse it.
std::optional<unsigned long> ReadUnsigned(std::string_view text);

// The text with every lone "\n" made "\r\n", as the controls expect line breaks; breaks
// already written "\r\n" stay as they are.
std::string WithCrLf(std::string_view text);

}  // namespace lumi::dialogs
