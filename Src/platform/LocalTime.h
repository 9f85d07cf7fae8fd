// The wall-clock time of day in the user's time zone.
#pragma once

namespace platform {

struct TimeOfDay {
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// False when the system cannot tell the time right now.
bool CurrentLocalTime(TimeOfDay& time);

}  // namespace platform
