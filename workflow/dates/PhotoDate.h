// The date of a photo from its EXIF block: JPEG files through libexif, HEIC/HEIF files
// through libheif's metadata blocks handed to libexif. The media libraries read no EXIF, so
// this is where a photo's creation time comes from.
#pragma once
#include <atomic>
#include <cstddef>
#include <optional>
#include <string>

#include "workflow/dates/Camera.h"
#include "workflow/dates/CreationTime.h"

struct TPhotoDate {
  // The ISO form the videos' creation times have: "2021-07-10T20:39:25.770000+01:00" with
  // the EXIF offset, "2016-09-28T18:18:05.813000" without a zone when EXIF has none.
  std::string CreationTime;
  TCreationTime Time;  // the same, read
  // The EXIF fields used, in order: "EXIF DateTimeOriginal, SubSecTimeOriginal, OffsetTimeOriginal".
  std::string Source;
  // Their texts as stored, in the same order, separated by ", ": "2021:07:10 20:39:25, 77, +01:00".
  std::string RawText;
  // The EXIF Make and Model, read with the date (empty when the photo names none).
  TCamera Camera;
};

// DateTimeOriginal with SubSecTimeOriginal and OffsetTimeOriginal, else DateTimeDigitized
// (CreateDate) with SubSecTimeDigitized and OffsetTimeDigitized. A fraction or offset that is
// not well-formed is left out; a date that is not a real moment ("0000:00:00 00:00:00",
// blanks) counts as missing. Nothing for a file that is neither a JPEG nor a HEIF file
// (by its content, not its name), has no EXIF block, or no usable date in it. For a HEIF
// file that a build without a HEIF reader meets, `unreadable` gets HeifReaderMissing.
// Once `stop` (may be null) turns true, a JPEG's reading ends with nothing found.
std::optional<TPhotoDate> ReadPhotoDate(const std::string& fileName, std::string* unreadable = nullptr,
                                        const std::atomic<bool>* stop = nullptr);

inline constexpr const char* HeifReaderMissing = "HEIF photos cannot be read: this build has no libheif";

// The same from an EXIF block that begins with "Exif\0\0" or with the TIFF header.
std::optional<TPhotoDate> PhotoDateFromExif(const unsigned char* data, std::size_t size);
