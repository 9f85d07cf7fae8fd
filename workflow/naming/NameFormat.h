// The name options of a run: a pattern for the new name (--format), a zone to show the time
// in (--tz), a zone to read camera-local times in (--assume-tz) and a correction of camera
// clocks that were wrong (--shift, --shift-for). Without any of them the name is the
// creation-time text as the file stores it.
#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "workflow/dates/CreationTime.h"
#include "workflow/dates/TimeZone.h"
#include "workflow/naming/NamedFields.h"

// The result of a row whose creation time the name options cannot use.
inline constexpr std::string_view SkippedNotUnderstood = "skipped: creation time not understood";

struct TNamingOptions {
  std::string Format;                 // empty: no pattern
  std::optional<TTimeZone> Tz;        // show the time as this zone's wall time
  std::optional<TTimeZone> AssumeTz;  // times marked UTC or without zone are this zone's wall time
  // Instead of Tz: the offset from UTC that the recording device wrote beside its date
  // (each row's own), UTC where it wrote none.
  bool TzRecorded = false;
  // Added to every time's wall-clock reading before anything else (a camera clock that ran
  // behind or ahead), unless ShiftForModel names the row's camera model.
  std::chrono::seconds Shift{0};
  // The shift of the files whose camera model is exactly the first (--shift-for).
  std::vector<std::pair<std::string, std::chrono::seconds>> ShiftForModel;

  bool Active() const {
    return !Format.empty() || Tz || AssumeTz || TzRecorded || Shift.count() || !ShiftForModel.empty();
  }
  // The shift of a file whose camera model is `model`: the last ShiftForModel entry for it,
  // else Shift.
  std::chrono::seconds ShiftFor(std::string_view model) const;
};

// Empty when `pattern` can stand as --format: only the fields %Y %m %d %H %M %S %f %z and %%
// and the named fields of NamedFields.h follow a "%", it holds no control character, and no part between delimiters ("/", on
// Windows "\" too: folders by date, made below the target folder) is empty, ".", ".." or %z
// alone, the whole pattern included. Otherwise the message to show. The command line and
// the window both check their patterns here, before any file is read.
std::string CheckNameFormat(std::string_view pattern);

// `pattern` (checked by CheckNameFormat) with each field replaced: %Y four-digit year, %m %d
// %H %M %S two digits, %f six digits of microseconds, %z the offset as "+HHMM" (empty for a
// time without zone), %% one "%"; the named fields as ExpandNamedField gives them, the
// separators around those that give nothing tidied (TidyEmptyFields).
std::string ExpandNameFormat(std::string_view pattern, const TCreationTime& time, const TNameFields& fields = {});

struct TResolvedTime {
  TCreationTime Time;
  bool Converted = false;  // the options changed the zone or the wall time
};

// `time` as the options make it: first the options' Shift (the caller picks it for the
// row's camera, ShiftFor), then --assume-tz for a time written as UTC ("Z") or without
// zone, then --tz for a time whose moment is known. A time without zone and without
// --assume-tz stays in the zone it was written in.
TResolvedTime ResolveTime(const TCreationTime& time, const TNamingOptions& options);

// The part of the new name in front of the extension (before ":" becomes "_"). Without
// active options: `creationTime` unchanged. With them: the pattern expanded, or without a
// pattern the ISO form of the converted time (the text unchanged when nothing was
// converted). Nothing when the options are active and `time` (the text as read, see
// TFileRow::Time) is none: the row is then skipped with SkippedNotUnderstood.
std::optional<std::string> NamePartFor(std::string_view creationTime, const std::optional<TCreationTime>& time,
                                       const TNamingOptions& options, const TNameFields& fields = {});
// The same for a text that is read here.
std::optional<std::string> NamePartFor(std::string_view creationTime, const TNamingOptions& options);
