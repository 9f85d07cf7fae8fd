#include "workflow/dates/TimeZone.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "workflow/dates/ZoneFile.h"

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

std::optional<TTimeZone> TTimeZone::Find(std::string_view name, std::string* problem) {
  ReadZoneFilesWithBounds();
  if (name == "local") {
    // The C library reads the zone file TZ names when there is one, else takes TZ as a
    // rule: a file that exists is checked first, so that it can neither block nor bloat.
    const std::string path = platform::LocalZoneFilePath();
    platform::FileStatus status;
    std::string bytes;
    const bool exists = platform::GetFileStatus(path, status);
    if (const TResult read = exists ? ReadZoneFile(path, bytes) : TResult(); !read) {
      if (problem) *problem = path + ": " + read.Message();
      return std::nullopt;
    }
    if (!platform::LocalTimeFollowsTz && !path.empty()) {
      // The system's local time ignores TZ here: the zone TZ names comes from the zone rules.
      cctz::time_zone zone;
      if (exists && cctz::load_time_zone(path, &zone)) return TTimeZone(zone, "local");
      if (problem)
        *problem = "TZ names no zone of " + platform::ZoneRulesFolder() + " (rules such as JST-9 are not read here)";
      return std::nullopt;
    }
    platform::ReloadLocalZone();
    return TTimeZone();
  }
  if (!LooksLikeZoneName(name)) return std::nullopt;
  cctz::time_zone zone;
  if (!cctz::load_time_zone(std::string(name), &zone)) return std::nullopt;
  return TTimeZone(zone, std::string(name));
}

TTimeZone TTimeZone::FixedOffset(int offsetSeconds) {
  return TTimeZone(cctz::fixed_time_zone(cctz::seconds(offsetSeconds)), "fixed offset");
}

int TTimeZone::OffsetAt(std::int64_t seconds) const {
  platform::LocalCivilTime local;
  return platform::LocalTimeAt(seconds, local) ? local.offsetSeconds : 0;
}

TCreationTime TTimeZone::WallTimeAt(TInstant instant) const {
  const auto whole = std::chrono::floor<std::chrono::seconds>(instant);
  TCreationTime time;
  time.Microsecond = static_cast<std::uint32_t>((instant - whole).count());
  platform::LocalCivilTime local;
  if (CLibraryLocal_ && platform::LocalTimeAt(whole.time_since_epoch().count(), local)) {
    time.Year = static_cast<int>(local.year);
    time.Month = static_cast<unsigned>(local.month);
    time.Day = static_cast<unsigned>(local.day);
    time.Hour = static_cast<unsigned>(local.hour);
    time.Minute = static_cast<unsigned>(local.minute);
    time.Second = static_cast<unsigned>(local.second);
    time.OffsetSeconds = local.offsetSeconds;
    return time;
  }
  // Beyond the C library's range local time is shown as UTC.
  const cctz::time_zone zone = CLibraryLocal_ ? cctz::utc_time_zone() : Zone_;
  const cctz::time_zone::absolute_lookup found = zone.lookup(cctz::time_point<cctz::seconds>(whole.time_since_epoch()));
  time.Year = static_cast<int>(found.cs.year());
  time.Month = static_cast<unsigned>(found.cs.month());
  time.Day = static_cast<unsigned>(found.cs.day());
  time.Hour = static_cast<unsigned>(found.cs.hour());
  time.Minute = static_cast<unsigned>(found.cs.minute());
  time.Second = static_cast<unsigned>(found.cs.second());
  time.OffsetSeconds = found.offset;
  return time;
}

TCreationTime TTimeZone::ReadAsWallTime(const TCreationTime& wall) const {
  const cctz::civil_second civil(wall.Year, wall.Month, wall.Day, wall.Hour, wall.Minute, wall.Second);
  if (CLibraryLocal_) {
    // The reading as if it were UTC, less the offset in force: the offsets a day and a
    // half before and after are the candidates (no zone changes twice within that). A
    // reading that fits neither was skipped, one that fits both is repeated: both take
    // the offset before the change.
    const std::int64_t reading = (civil - cctz::civil_second(1970, 1, 1, 0, 0, 0));
    constexpr std::int64_t Margin = 36 * 3600;
    const int before = OffsetAt(reading - Margin);
    const int after = OffsetAt(reading + Margin);
    const bool afterFits = OffsetAt(reading - after) == after;
    const std::int64_t moment = OffsetAt(reading - before) != before && afterFits ? reading - after : reading - before;
    return WallTimeAt(TInstant(std::chrono::seconds(moment)) + Microseconds(wall.Microsecond));
  }
  // For a skipped or repeated reading, `pre` is the moment under the offset before the change.
  const auto moment = Zone_.lookup(civil).pre;
  return WallTimeAt(TInstant(std::chrono::duration_cast<Microseconds>(moment.time_since_epoch())) +
                    Microseconds(wall.Microsecond));
}
