// One date that a file holds: where it is and its text as stored there.
#pragma once
#include <string>
#include <vector>

struct TFileDate {
  std::string Source;  // "com.apple.quicktime.creationdate", "stream #1 creation_time", "PNG tIME", ...
  std::string Text;    // as stored (or, for dates stored as numbers, in the ISO form)
  bool operator==(const TFileDate&) const = default;
};

// Which dates a lookup may fall back on beyond those that the file's metadata holds.
struct TDateFallbacks {
  bool FromName = false;   // a date and time written in the file's name
  bool FromMtime = false;  // the file's last modification time
  bool ListAll = false;    // read every source, also those after the one that gave the date
};
