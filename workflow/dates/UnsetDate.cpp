#include "workflow/dates/UnsetDate.h"

#include <algorithm>

namespace {

using namespace std::chrono;

constexpr TInstant Earliest{sys_days{1990y / January / 1}};
// Where the clocks of FAT file systems, many cameras and the 2001 epoch start.
constexpr TInstant ClockStarts[] = {TInstant{sys_days{1980y / January / 1}}, TInstant{sys_days{2000y / January / 1}},
                                    TInstant{sys_days{2001y / January / 1}}};

}  // namespace

bool DateLooksUnset(const TCreationTime& time, TInstant now) {
  const TInstant instant = InstantOf(time);
  return instant < Earliest || std::find(std::begin(ClockStarts), std::end(ClockStarts), instant) != std::end(ClockStarts) ||
         instant > now + hours{24};
}
