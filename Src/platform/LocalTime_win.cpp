#include "platform/LocalTime.h"

#include "platform/Win32Support.h"

namespace platform {

bool CurrentLocalTime(TimeOfDay& time) {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  time.hour = local.wHour;
  time.minute = local.wMinute;
  time.second = local.wSecond;
  time.millisecond = local.wMilliseconds;
  return true;
}

}  // namespace platform
