// Comparisons that ignore the letter case of ASCII letters only, as the libraries' own do.
#pragma once
#include <string_view>

namespace text {

bool EqualsIgnoringAsciiCase(std::string_view left, std::string_view right);

}  // namespace text
