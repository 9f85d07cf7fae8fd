// Small facts about the running process and the user's settings.
#pragma once
#include <cstdint>

namespace platform {

// The kernel's id of the calling thread.
std::uint32_t CurrentThreadId();

// The decimal separator of the user's locale (from the environment), whatever locale
// the C library has been switched to.
char DecimalSeparator();

}  // namespace platform
