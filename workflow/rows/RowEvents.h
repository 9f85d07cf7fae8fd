// What a run reports while it goes: progress before each row, and each row once done.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "workflow/rows/FileRow.h"

// Called for each row with its index from 0, the number of rows and the row's file name:
// before the row is handled in a lookup or rename, once it is done in a copy (whose rows
// are written in batches before any of them is done).
using TProgressEvent = std::function<void(std::size_t index, std::size_t count, const std::string& fileName)>;
// Called once a rename or copy has finished with a row, in row order.
using TRowDoneEvent = std::function<void(const TFileRow& row)>;
// Called during a real copy as rows are done: bytes copied so far, and the bytes of all the
// files the run may copy.
using TCopyBytesEvent = std::function<void(std::uint64_t done, std::uint64_t total)>;
// Called in a real run once a row's target folder is open and held, before anything is
// named in it, with the folder's path. What happens to the folder's path from then on can
// no longer lead the row's files elsewhere.
using TFolderHeldEvent = std::function<void(const std::string& folder)>;
// Called in a real rename as each file (a row's own, then each companion) has taken its
// new name, with its old and new path.
using TFileMovedEvent = std::function<void(const std::string& from, const std::string& to)>;
