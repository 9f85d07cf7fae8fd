// Conversions between UTF-8, in which the platform layer takes and gives paths on every
// system, and UTF-16, the text of the media component's own entry points and of the
// Windows system calls.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// UTF-16 to UTF-8. A lone surrogate, which UTF-8 cannot carry, becomes '?', unless it is one
// of the escapes below.
std::string WideToNarrow(std::u16string_view text);
// UTF-8 to UTF-16. A file name need not be UTF-8: bytes that do not decode are carried as
// escapes that WideToNarrow turns back into the same bytes, so every name that the system
// gives can be opened, renamed and copied.
std::u16string NarrowToWide(std::string_view text);

}  // namespace platform
