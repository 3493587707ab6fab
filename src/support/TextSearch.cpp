// Case-insensitive search in texts sized for fixed buffers.
#include "support/TextSearch.h"

#include <cctype>

#include "support/ErrorReport.h"

namespace lumi {

namespace {
constexpr size_t kSearchLimit = 3999;
}  // namespace

int StrContainsText(std::string_view text, std::string_view part) {
    // Over the limit the box is shown and only the first 3999 characters are searched,
    // as the fixed buffers this search was made for would hold.
    if (text.size() > kSearchLimit) {
        ShowErrorBox("StrContainsText", "4512");
        text = text.substr(0, kSearchLimit);
    }
    if (part.size() > kSearchLimit) {
        ShowErrorBox("StrContainsText", "4513");
        part = part.substr(0, kSearchLimit);
    }
    if (part.size() > text.size()) return -1;
    for (size_t i = 0; i + part.size() <= text.size(); ++i) {
        size_t j = 0;
        while (j < part.size() &&
               std::toupper(static_cast<unsigned char>(text[i + j])) ==
                   std::toupper(static_cast<unsigned char>(part[j])))
            ++j;
        if (j == part.size()) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace lumi
