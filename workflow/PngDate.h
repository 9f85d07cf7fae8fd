// The last-modification time that a PNG file keeps in its tIME chunk (always UTC).
#pragma once
#include <optional>
#include <string>

#include "workflow/FileDate.h"

// Source "PNG tIME", text "2022-05-28T14:06:57Z". Nothing for a file that is no PNG (by
// its signature), has no tIME chunk before its image data, or one that is no real moment.
std::optional<TFileDate> ReadPngDate(const std::string& fileName);
