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

// `unixSeconds` in the system's local time. On POSIX systems that is the C library's, which
// follows TZ: a zone file, or a rule such as "JST-9" or "EST5EDT,M3.2.0,M11.1.0". On
// Windows it is the zone set in the system's settings, and TZ plays no part (see
// LocalTimeFollowsTz). False when the moment lies beyond what the system can show.
bool LocalTimeAt(std::int64_t unixSeconds, LocalCivilTime& time);
// Makes the system read its local zone again, as it is now.
void ReloadLocalZone();
// The zone file that TZ names (less a leading ":"): that path when absolute, else the name
// under ZoneRulesFolder(). Without TZ: the machine's zone file on POSIX systems
// (/etc/localtime), nothing on Windows, which keeps its zone in its settings. The C
// library takes TZ as a rule only when no such file exists.
std::string LocalZoneFilePath();
// The folder of the zone rules: TZDIR when set, else the system's zone folder; Windows has
// none, and the folder "zoneinfo" beside the program stands in for it.
std::string ZoneRulesFolder();

#ifdef _WIN32
inline constexpr bool LocalTimeFollowsTz = false;
#else
inline constexpr bool LocalTimeFollowsTz = true;
#endif

}  // namespace platform
