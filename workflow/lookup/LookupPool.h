// Creation-time lookups of many files on several worker threads at once.
#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "workflow/rows/FileRow.h"
#include "workflow/lookup/LookupOptions.h"
#include "workflow/rows/RowEvents.h"

// One row per name, in the given order, as TCreationTimeLookup::LookUpRow makes it. Each of
// `workers` threads has a lookup of its own (a decoder and a line buffer) and takes the
// next name not yet taken, so a slow file holds up no other worker. `progress` runs on the
// calling thread, once per row and in row order, when that row is next to be collected.
// An exception on a worker ends the others after their current file and is rethrown here.
// Once `stop` (may be null) turns true, no worker takes a further name: the rows come back
// up to the first one that was not looked up.
// A worker thread that the system refuses (a process limit, no memory) leaves the work to
// those that started; when none did, the calling thread looks every file up itself.
// `shortfall`, when given, then says how many ran and why the others did not; it is left
// empty when every worker started.
// `rowRead`, when given, runs on the calling thread with each row as it is collected, in
// row order, so that a caller can show the rows while the others are still read.
std::vector<TFileRow> LookUpRowsOnWorkers(const std::vector<std::string>& fileNames, unsigned workers,
                                          const TLookupOptions& options, const TProgressEvent& progress,
                                          const std::atomic<bool>* stop = nullptr, std::string* shortfall = nullptr,
                                          const TRowDoneEvent& rowRead = nullptr);
