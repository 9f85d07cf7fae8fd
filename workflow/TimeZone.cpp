#include "workflow/TimeZone.h"

#include <algorithm>

namespace {

// Zone names are letters, digits and "_+-" in parts separated by "/". Anything else (an
// absolute path, a "..") would make the database read a file outside itself.
bool LooksLikeZoneName(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.back() == '/' || name.find("//") != std::string_view::npos)
    return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '_' ||
           c == '+' || c == '-';
  });
}

using Microseconds = std::chrono::microseconds;

}  // namespace

std::optional<TTimeZone> TTimeZone::Find(std::string_view name) {
  // The library reads TZ itself and falls back to the machine's zone file.
  if (name == "local") return TTimeZone(cctz::local_time_zone(), "local");
  if (!LooksLikeZoneName(name)) return std::nullopt;
  cctz::time_zone zone;
  if (!cctz::load_time_zone(std::string(name), &zone)) return std::nullopt;
  return TTimeZone(zone, std::string(name));
}

TTimeZone TTimeZone::FixedOffset(int offsetSeconds) {
  return TTimeZone(cctz::fixed_time_zone(cctz::seconds(offsetSeconds)), "fixed offset");
}

TCreationTime TTimeZone::WallTimeAt(TInstant instant) const {
  const auto whole = std::chrono::floor<std::chrono::seconds>(instant);
  const cctz::time_zone::absolute_lookup found = Zone_.lookup(cctz::time_point<cctz::seconds>(whole.time_since_epoch()));
  TCreationTime time;
  time.Year = static_cast<int>(found.cs.year());
  time.Month = static_cast<unsigned>(found.cs.month());
  time.Day = static_cast<unsigned>(found.cs.day());
  time.Hour = static_cast<unsigned>(found.cs.hour());
  time.Minute = static_cast<unsigned>(found.cs.minute());
  time.Second = static_cast<unsigned>(found.cs.second());
  time.Microsecond = static_cast<std::uint32_t>((instant - whole).count());
  time.OffsetSeconds = found.offset;
  return time;
}

TCreationTime TTimeZone::ReadAsWallTime(const TCreationTime& wall) const {
  const cctz::civil_second civil(wall.Year, wall.Month, wall.Day, wall.Hour, wall.Minute, wall.Second);
  // For a skipped or repeated reading, `pre` is the moment under the offset before the change.
  const auto moment = Zone_.lookup(civil).pre;
  return WallTimeAt(TInstant(std::chrono::duration_cast<Microseconds>(moment.time_since_epoch())) +
                    Microseconds(wall.Microsecond));
}
