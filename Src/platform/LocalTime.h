// The wall-clock time of day in the user's time zone.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

struct TimeOfDay {
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// False when the system cannot tell the time right now.
bool CurrentLocalTime(TimeOfDay& time);

// A moment as the C library's local time shows it: date, time of day and the offset east
// of UTC in seconds.
struct LocalCivilTime {
  std::int64_t year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int offsetSeconds = 0;
};

// `unixSeconds` in the C library's local time, which follows TZ: a zone file, or a rule
// such as "JST-9" or "EST5EDT,M3.2.0,M11.1.0". False when the moment lies beyond what the
// C library can show.
bool LocalTimeAt(std::int64_t unixSeconds, LocalCivilTime& time);
// Makes the C library read TZ again, as it is now.
void ReloadLocalZone();
// The zone file the C library reads for its local time: /etc/localtime without TZ; with
// TZ (less a leading ":"), that path when absolute, else the name under TZDIR or the zone
// folder. The C library takes TZ as a rule only when no such file exists.
std::string LocalZoneFilePath();

}  // namespace platform
