// Dates that are not in a file's metadata, for files that hold none: the date and time
// that cameras and phones write into a file's name, and the file's modification time.
// Both only on request: a name or a copy can carry a time that was never the recording's.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "workflow/dates/FileDate.h"

// The wall time in a name such as "IMG_20210410_104400.jpg", "VID_20210410_104400.mp4",
// "PXL_20210410_104400123.mp4" (with milliseconds), "2021-04-10 10.44.00.jpg" or
// "20210410_104400.mp4": source "file name", text "2021-04-10T10:44:00" (no zone: a name
// does not say one; ".123000" for milliseconds). Only the name counts, not its folder.
// Nothing when the name holds no such date, or one that is no real moment.
std::optional<TFileDate> DateFromFileName(std::string_view fileName);

// Source "file modification time", text in UTC ("2021-04-10T10:44:00.250000Z"). A time
// outside the years 1 to 9999, which no name can hold, gives no date but OutOfRange; a
// file whose time cannot be read gives neither.
struct TModificationDate {
  std::optional<TFileDate> Date;
  bool OutOfRange = false;
};
TModificationDate DateFromModificationTime(const std::string& fileName);
