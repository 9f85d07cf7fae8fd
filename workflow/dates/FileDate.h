// One date that a file holds: where it is, its text as stored there, and the moment it
// names, read once where it was found.
#pragma once
#include <optional>
#include <string>

#include "workflow/dates/CreationTime.h"

struct TFileDate {
  std::string Source;  // "com.apple.quicktime.creationdate", "stream #1 creation_time", "PNG tIME", ...
  std::string Text;    // as stored (or, for dates stored as numbers, in the ISO form)
  // The moment the date names, read where it was found (a text without its control
  // characters at either end, or a photo's date fields); nothing when it is not one of the
  // forms that ParseCreationTime understands.
  std::optional<TCreationTime> Time = std::nullopt;

  // The same source and text are the same date: the time follows from the text.
  bool operator==(const TFileDate& other) const { return Source == other.Source && Text == other.Text; }
};
