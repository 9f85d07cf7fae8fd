// Text conversions at the system boundary. Above the platform layer paths are UTF-16;
// the system takes bytes in its narrow code page, which is UTF-8 on POSIX.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// The system's narrow code page. A character the code page cannot hold becomes '?'.
std::string WideToNarrow(std::u16string_view text);
// Bytes of the narrow code page to UTF-16. On POSIX a file name need not be UTF-8: bytes
// that do not decode are carried as escapes that WideToNarrow turns back into the same
// bytes, so every name that the system gives can be opened, renamed and copied.
std::u16string NarrowToWide(std::string_view text);

}  // namespace platform
