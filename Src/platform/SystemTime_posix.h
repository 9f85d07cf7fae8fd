// The system's time of a count of microseconds since 1970 (UTC).
#pragma once
#include <time.h>

#include <cstdint>

namespace platform {

inline struct timespec TimeOfMicroseconds(std::int64_t microseconds) {
  constexpr std::int64_t PerSecond = 1000000;
  // Floor division: a time before 1970 keeps a fraction between 0 and 1 second.
  std::int64_t seconds = microseconds / PerSecond;
  std::int64_t rest = microseconds % PerSecond;
  if (rest < 0) {
    rest += PerSecond;
    --seconds;
  }
  struct timespec time {};
  time.tv_sec = static_cast<time_t>(seconds);
  time.tv_nsec = static_cast<long>(rest * 1000);
  return time;
}

}  // namespace platform
