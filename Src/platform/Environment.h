// Process environment variables.
#pragma once
#include <string>

namespace platform {

// Separates the folders of a search-path variable such as PATH.
inline constexpr char16_t PathListSeparator = u':';

// Empty when the variable is unset or empty.
std::u16string GetEnvVar(const std::u16string& name);
bool SetEnvVar(const std::u16string& name, const std::u16string& value);

}  // namespace platform
