#include "platform/LocalTime.h"

#include <time.h>

#include <cstdlib>
#include <string_view>

namespace platform {

bool CurrentLocalTime(TimeOfDay& time) {
  timespec now {};
  if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
  tm local {};
  if (!::localtime_r(&now.tv_sec, &local)) return false;
  time.hour = local.tm_hour;
  time.minute = local.tm_min;
  time.second = local.tm_sec;
  time.millisecond = static_cast<int>(now.tv_nsec / 1000000);
  return true;
}

bool LocalTimeAt(std::int64_t unixSeconds, LocalCivilTime& time) {
  const time_t moment = static_cast<time_t>(unixSeconds);
  tm local {};
  if (!::localtime_r(&moment, &local)) return false;
  time.year = std::int64_t{local.tm_year} + 1900;
  time.month = local.tm_mon + 1;
  time.day = local.tm_mday;
  time.hour = local.tm_hour;
  time.minute = local.tm_min;
  time.second = local.tm_sec;
  time.offsetSeconds = static_cast<int>(local.tm_gmtoff);
  return true;
}

void ReloadLocalZone() { ::tzset(); }

std::string LocalZoneFilePath() {
  const char* tz = std::getenv("TZ");
  if (!tz) return "/etc/localtime";
  std::string_view name = tz;
  if (name.starts_with(':')) name.remove_prefix(1);
  // An empty TZ stands for UTC, which the C library reads from this file.
  if (name.empty()) name = "Universal";
  if (name.starts_with('/')) return std::string(name);
  const char* folder = std::getenv("TZDIR");
  return std::string(folder && *folder ? folder : "/usr/share/zoneinfo") + "/" + std::string(name);
}

}  // namespace platform
