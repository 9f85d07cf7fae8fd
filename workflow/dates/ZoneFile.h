// Zone files are read only when they are regular files of sensible size whose header asks
// for no more data than the file holds: a crafted file (or a pipe) named by TZ or TZDIR
// must neither block the run nor make the zone library allocate what the header claims.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "Base/Result.h"

// Far beyond every file of the zone database (the largest are a few KiB).
inline constexpr std::size_t MaxZoneFileBytes = 64 * 1024;

// Why `bytes` is no zone file that may be handed to a zone library; empty when it may.
std::string ZoneFileProblem(std::string_view bytes);

// Reads the zone file at `path` into `bytes`, or says why not: not a regular file (checked
// before anything waits on it), too large, or failing ZoneFileProblem.
TResult ReadZoneFile(const std::string& path, std::string& bytes);

// From the first call on, the zone library reads every zone file through ReadZoneFile.
void ReadZoneFilesWithBounds();
