// Creation-time lookups of many files on several worker threads at once.
#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "workflow/LookupPath.h"
#include "workflow/RenamingWorkflow.h"

// One row per name, in the given order, as TRenamingWorkflow::LookUpRow makes it. Each of
// `workers` threads has a decoder, a line buffer and a workflow of its own and takes the
// next name not yet taken, so a slow file holds up no other worker. `progress` runs on the
// calling thread, once per row and in row order, when that row is next to be collected.
// An exception on a worker ends the others after their current file and is rethrown here.
// Once `stop` (may be null) turns true, no worker takes a further name: the rows come back
// up to the first one that was not looked up. `fallbacks` as TRenamingWorkflow::DateFallbacks.
std::vector<TFileRow> LookUpRowsOnWorkers(const std::vector<std::string>& fileNames, unsigned workers,
                                          TLookupPath path, const TProgressEvent& progress,
                                          const std::atomic<bool>* stop = nullptr, const TDateFallbacks& fallbacks = {});
