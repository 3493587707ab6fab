// Fuzz entry for the INI text reader and editor that keeps the settings on Linux: any
// text a user or another program left in the file must read without a crash, a value
// set must read back as set, and setting one key must leave every other key as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/IniText.h"

namespace {

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

// Names as the reader compares them: outer blanks gone, ASCII case folded.
std::string Folded(const std::string& name) {
    size_t from = 0, to = name.size();
    while (from < to && Blank(name[from])) ++from;
    while (to > from && Blank(name[to - 1])) --to;
    std::string out = name.substr(from, to - from);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(40);
    const std::string key = in.ConsumeRandomLengthString(40);
    const std::string value = in.ConsumeRandomLengthString(80);
    const std::string otherSection = in.ConsumeRandomLengthString(20);
    const std::string otherKey = in.ConsumeRandomLengthString(20);
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::optional<std::string> before = lumi::IniLookup(text, otherSection, otherKey);
    lumi::IniLookup(text, section, key);
    // The settings store above stores such values in an extra pair of quotes.
    const std::string stored = lumi::IniValueNeedsQuotes(value) ? "\"" + value + "\"" : value;
    const std::optional<std::string> edited = lumi::IniAssign(text, section, key, stored);
    if (!edited) return 0;

    const std::optional<std::string> back = lumi::IniLookup(*edited, section, key);
    Check(back.has_value(), "a key that was set is found");
    Check(*back == value, "a value reads back as set");
    const bool sameName = Folded(section) == Folded(otherSection) && Folded(key) == Folded(otherKey);
    if (!sameName) Check(lumi::IniLookup(*edited, otherSection, otherKey) == before, "other keys keep their values");
    // Setting the same value again changes nothing.
    const std::optional<std::string> again = lumi::IniAssign(*edited, section, key, stored);
    Check(again.has_value() && *again == *edited, "setting a key twice is setting it once");
    return 0;
}
