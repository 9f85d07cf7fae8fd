// Writing a whole file so that it either appears complete or not at all.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Writes `bytes` to a temporary file in the folder of `path` and renames it over `path`.
// On failure returns false with the system's message in `error`; a file that was at
// `path` before is then unchanged and no partial file is left.
bool WriteFileReplacing(const std::u16string& path, std::string_view bytes, std::string& error);

}  // namespace platform
