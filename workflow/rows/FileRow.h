// One row of the renaming workflow: a picked file, its creation time and what the last
// rename or copy did with it.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "workflow/dates/Camera.h"
#include "workflow/dates/CreationTime.h"
#include "workflow/dates/FileDate.h"
#include "workflow/rows/RowResult.h"

struct TFileRow {
  std::string FileName;      // as picked; no run changes it (FollowRenamedFiles does)
  std::string CreationTime;  // trimmed; empty when none was found
  // CreationTime read once, at the lookup; nothing when it is not one of the forms that
  // ParseCreationTime understands (the name then takes the text as it is, or is skipped
  // when the naming options need the moment).
  std::optional<TCreationTime> Time;
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
  // No date was found but one that no name can hold (a modification time outside the
  // years 1 to 9999): the row is skipped as out of range rather than as dateless.
  bool DateOutOfRange = false;
  // Every date found for the file, the one used among them, in the lookup's order.
  std::vector<TFileDate> Dates;
  // The offset from UTC that the recording device wrote beside its own date (a phone's
  // creation date, a photo's EXIF offset), when it wrote one.
  std::optional<int> RecordedOffsetSeconds;
  // The camera the file names, read with its dates: the container's make and model, or a
  // photo's EXIF Make and Model.
  TCamera Camera;
};
