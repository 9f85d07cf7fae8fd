// One row of the renaming workflow: a picked file, its creation time and what the last
// rename or copy did with it.
#pragma once
#include <string>

#include "workflow/RowResult.h"

struct TFileRow {
  std::string FileName;      // as picked; no run changes it (FollowRenamedFiles does)
  std::string CreationTime;  // trimmed; empty when none was found
  std::string NewFileName;   // the target of the last rename or copy that reached the row
  TRowResult Result;         // kind None until a rename or copy ran
  TRowResult ReadProblem;    // kind None when the file could be read when it was picked
  // Where the creation time came from ("container metadata", or the EXIF fields of a photo)
  // and the text it was read from, as stored; both empty when there is none.
  std::string CreationTimeSource;
  std::string CreationTimeRaw;
  // The creation time comes from a clock nobody set (before 1990, a clock's starting point,
  // or far in the future): worth a warning, and skipped when the run asks for it.
  bool DateLooksUnset = false;
};
