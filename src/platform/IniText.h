// Our own INI reader and writer with the behaviour of the Windows profile functions, for
// platforms that lack them. Plain file I/O only, so it builds and is tested everywhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ProfileStore.h"

namespace lumi {

// The value of section/key in INI text, trimmed of blanks and stripped of one pair of
// matching quotes; nullopt when section or key is missing. Names match without regard to
// (ASCII) case; the first section and the first key of a name win.
std::optional<std::string> IniLookup(std::string_view text, std::string_view section, std::string_view key);

// The text with section/key set to value: an existing key line gets the new value, a new
// key goes after the last key of its section, a new section is appended. Every other byte
// is kept. New lines use the line end the text already has ("\n" for text without one).
// nullopt when the names or the value cannot be stored as one INI line.
std::optional<std::string> IniAssign(std::string_view text, std::string_view section, std::string_view key,
                                     std::string_view value);

// Whether a value read back through IniLookup would lose something (outer blanks, an outer
// pair of quotes); such values are stored inside an extra pair of double quotes.
bool IniValueNeedsQuotes(std::string_view value);

// The profile functions over INI files. Writes go to a temporary file in the same folder
// that then replaces the old one, so a failed write leaves the previous file whole.
class IniTextStore : public ProfileStore {
public:
    std::string Read(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view def, size_t size) override;
    bool Write(const std::string& path, std::string_view section, std::string_view key,
               std::string_view value) override;
};

}  // namespace lumi
