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

// True when the zone libraries can tell which zone the machine is in: on POSIX from TZ or
// the system's zone file; on Windows only from TZ, as the system's own zone setting has no
// zone database name.
bool MachineZoneNameKnown();

}  // namespace platform
