// A time zone from the system's zone database, for turning creation times into another
// zone's wall time and for reading a zone-less wall time as a zone's. Copies are cheap and
// may be used on several threads at once.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include <cctz/time_zone.h>

#include "workflow/dates/CreationTime.h"

class TTimeZone {
 public:
  // An IANA name ("Europe/Berlin", "UTC") or "local": local time as the C library keeps it,
  // following TZ as a zone name, a zone file or a rule ("JST-9", "EST5EDT,M3.2.0,M11.1.0"),
  // else the machine's zone. On Windows TZ may name a zone or a zone file (not a rule),
  // read through the zone rules; without TZ the zone of the system's settings holds. Nothing for a name the database does not hold or that is not
  // shaped like a zone name (a path, ".."), and nothing, with the reason in `problem`
  // when given, for a zone file that is not a regular file of sensible size and shape.
  static std::optional<TTimeZone> Find(std::string_view name, std::string* problem = nullptr);
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
  // Local time through the C library.
  TTimeZone() : CLibraryLocal_(true), Name_("local") {}

  // The offset east of UTC at `seconds` since 1970.
  int OffsetAt(std::int64_t seconds) const;

  cctz::time_zone Zone_;
  bool CLibraryLocal_ = false;
  std::string Name_;
};
