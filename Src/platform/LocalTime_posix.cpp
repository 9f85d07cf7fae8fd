#include "platform/LocalTime.h"

#include <time.h>

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

bool MachineZoneNameKnown() { return true; }

}  // namespace platform
