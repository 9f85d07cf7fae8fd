// A creation time as the media libraries write it: an ISO 8601 date and time, with "T" or a
// blank between them, an optional fraction and an optional zone ("Z", "+02:00", "+0200",
// "+02"). Parsed strictly: anything else is not a creation time we understand.
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using TInstant = std::chrono::sys_time<std::chrono::microseconds>;

struct TCreationTime {
  // The wall-clock reading, as written (or as a conversion made it).
  int Year = 1970;
  unsigned Month = 1;
  unsigned Day = 1;
  unsigned Hour = 0;
  unsigned Minute = 0;
  unsigned Second = 0;
  std::uint32_t Microsecond = 0;  // a longer fraction is cut to microseconds
  // Seconds east of UTC; none when the text names no zone (some AVI files, photos).
  std::optional<int> OffsetSeconds;
  // Written with "Z": the writer claims UTC (and some cameras claim it for local time).
  bool WrittenAsUtc = false;

  bool operator==(const TCreationTime&) const = default;
};

// Nothing for a text that is not one of the forms above, or names a day or time that does
// not exist (February 30, 25 o'clock, an offset of 24 hours or more).
std::optional<TCreationTime> ParseCreationTime(std::string_view text);

// The moment the time stands for. A time without zone is read as UTC: callers that know
// better attach a zone first.
TInstant InstantOf(const TCreationTime& time);

// The moment as a time written as UTC ("Z"), to the microsecond.
TCreationTime UtcTimeOf(TInstant instant);

// "YYYY-MM-DDTHH:MM:SS.ffffff" followed by "Z" (written as UTC), "+HH:MM" (an offset; with
// ":SS" when it has seconds) or nothing (no zone).
std::string FormatIsoCreationTime(const TCreationTime& time);
