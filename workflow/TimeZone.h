// A time zone from the system's zone database, for turning creation times into another
// zone's wall time and for reading a zone-less wall time as a zone's. Copies are cheap and
// may be used on several threads at once.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include <cctz/time_zone.h>

#include "workflow/CreationTime.h"

class TTimeZone {
 public:
  // An IANA name ("Europe/Berlin", "UTC") or "local": the zone that TZ names when it is set,
  // else the machine's. Nothing for a name the database does not hold or that is not
  // shaped like a zone name (a path, "..").
  static std::optional<TTimeZone> Find(std::string_view name);
  // A zone that is always `offsetSeconds` east of UTC.
  static TTimeZone FixedOffset(int offsetSeconds);

  const std::string& Name() const { return Name_; }

  // The wall time and offset of this zone at `instant`.
  TCreationTime WallTimeAt(TInstant instant) const;
  // `wall`'s clock reading taken as this zone's wall time, with the zone's offset attached.
  // A reading that a clock change skips or repeats takes the offset in force before the
  // change.
  TCreationTime ReadAsWallTime(const TCreationTime& wall) const;

 private:
  TTimeZone(cctz::time_zone zone, std::string name) : Zone_(zone), Name_(std::move(name)) {}

  cctz::time_zone Zone_;
  std::string Name_;
};
