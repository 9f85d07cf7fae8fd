// One date that a file holds: where it is and its text as stored there.
#pragma once
#include <string>

struct TFileDate {
  std::string Source;  // "com.apple.quicktime.creationdate", "stream #1 creation_time", "PNG tIME", ...
  std::string Text;    // as stored (or, for dates stored as numbers, in the ISO form)
  bool operator==(const TFileDate&) const = default;
};
