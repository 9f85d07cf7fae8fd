#include "Text/Ascii.h"

namespace text {

namespace {
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (std::size_t index = 0; index < left.size(); ++index)
    if (AsciiLower(left[index]) != AsciiLower(right[index])) return false;
  return true;
}

}  // namespace text
