#include "Text/Trim.h"

namespace text {

namespace {
bool IsBlankOrControl(char character) { return static_cast<unsigned char>(character) <= ' '; }
}  // namespace

std::string TrimControls(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace text
