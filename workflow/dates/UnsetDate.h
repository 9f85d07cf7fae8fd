// Creation times that come from a clock nobody set: the starting points of common clocks,
// anything before 1990, and anything more than a day in the future.
#pragma once
#include <string_view>

#include "workflow/dates/CreationTime.h"

inline constexpr std::string_view SkippedDateLooksUnset = "skipped: date looks unset";
// Appended to a row's result in the window.
inline constexpr std::string_view DateLooksUnsetNote = " (date looks unset)";

// True for `time` (as the file wrote it, before any zone option) before
// 1990-01-01T00:00:00Z, exactly at 1980-01-01, 2000-01-01 or 2001-01-01 00:00:00 UTC, or more
// than 24 hours after `now`. A time without zone is judged by its wall time read as UTC.
bool DateLooksUnset(const TCreationTime& time, TInstant now);
