// Trimming of the system's texts.
#pragma once
#include <string>
#include <string_view>

namespace text {

// Removes every character with a code of 32 or below (blanks and control characters) from
// both ends and from nowhere else; bytes of multi-byte characters are never removed.
std::string TrimControls(std::string_view text);

}  // namespace text
