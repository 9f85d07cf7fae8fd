// The last-modification time that a PNG file keeps in its tIME chunk (always UTC).
#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "workflow/dates/FileDate.h"

// Writers put the tIME chunk before the image data, and some after it, near the end of the
// file. The chunks before the first image data chunk are walked; past it only the last
// PngTailBytes of the file are looked at, so that a huge file costs no more than a small
// one.
inline constexpr std::int64_t PngTailBytes = 64 * 1024;

// Source "PNG tIME", text "2022-05-28T14:06:57Z". Nothing for a file that is no PNG (by
// its signature), has no tIME chunk before its image data nor in its last PngTailBytes,
// or one that is no real moment; nothing either once `stop` (may be null) turns true.
std::optional<TFileDate> ReadPngDate(const std::string& fileName, const std::atomic<bool>* stop = nullptr);
