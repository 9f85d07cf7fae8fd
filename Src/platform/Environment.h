// Process environment variables.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Separates the folders of a search-path variable such as PATH.
#ifdef _WIN32
inline constexpr char16_t PathListSeparator = u';';
#else
inline constexpr char16_t PathListSeparator = u':';
#endif

// True when two entries of a search path name the same folder: closing delimiters aside,
// and on Windows regardless of letter case, as its file names are.
bool SameSearchPathEntry(std::u16string_view entry, std::u16string_view folder);

// Empty when the variable is unset or empty.
std::u16string GetEnvVar(const std::u16string& name);
bool SetEnvVar(const std::u16string& name, const std::u16string& value);

// The folder where programs keep what they remember for the user between runs:
// $XDG_STATE_HOME when it is an absolute path, else $HOME/.local/state on POSIX;
// %LOCALAPPDATA% on Windows. Empty when the variables give none.
std::u16string UserStateFolder();
// The reason when UserStateFolder is empty.
#ifdef _WIN32
inline constexpr const char* NoUserStateFolder = "no state folder (LOCALAPPDATA is not set)";
#else
inline constexpr const char* NoUserStateFolder = "no state folder (neither XDG_STATE_HOME nor HOME is set)";
#endif

}  // namespace platform
