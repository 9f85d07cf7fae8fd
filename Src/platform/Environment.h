// Process environment variables.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Separates the folders of a search-path variable such as PATH.
#ifdef _WIN32
inline constexpr char PathListSeparator = ';';
#else
inline constexpr char PathListSeparator = ':';
#endif

// True when two entries of a search path name the same folder: closing delimiters aside,
// and on Windows regardless of letter case, as its file names are.
bool SameSearchPathEntry(std::string_view entry, std::string_view folder);

// Empty when the variable is unset or empty.
std::string GetEnvVar(const std::string& name);
bool SetEnvVar(const std::string& name, const std::string& value);

// The folder where programs keep what they remember for the user between runs:
// $XDG_STATE_HOME when it is an absolute path, else $HOME/.local/state on POSIX;
// %LOCALAPPDATA% on Windows. Empty when the variables give none.
std::string UserStateFolder();
// The reason when UserStateFolder is empty.
#ifdef _WIN32
inline constexpr const char* NoUserStateFolder = "no state folder (LOCALAPPDATA is not set)";
#else
inline constexpr const char* NoUserStateFolder = "no state folder (neither XDG_STATE_HOME nor HOME is set)";
#endif

}  // namespace platform
