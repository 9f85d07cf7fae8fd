// ASCII character tests; comparisons that ignore the letter case of ASCII letters only, as
// the libraries' own do.
#pragma once
#include <string_view>

namespace text {

bool EqualsIgnoringAsciiCase(std::string_view left, std::string_view right);

// U+0000 to U+001F and U+007F; a byte of a multi-byte UTF-8 character never is one.
constexpr bool IsAsciiControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; }

}  // namespace text
