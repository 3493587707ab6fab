// Searching texts without regard to case.
#pragma once
#include <string_view>

namespace lumi {

// Position of part in text compared without regard to case, or -1. A text or part of
// 4000 characters or more is first reported in a box titled "StrContainsText".
int StrContainsText(std::string_view text, std::string_view part);

}  // namespace lumi
