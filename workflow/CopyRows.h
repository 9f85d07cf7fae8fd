// The copy of a run's rows into a folder under their creation-time names, with their
// companions: copies that never destroy data (CopyRun.h), written in batches that are made
// durable before they are named (CopyBatch.h).
#pragma once
#include <string>
#include <vector>

#include "workflow/FileRow.h"
#include "workflow/RowRun.h"
#include "workflow/RunOptions.h"

// Copies each row's file into `folder` (not empty). Returns what the run has to tell
// beside the rows: the temporary files of interrupted copies that it removed.
std::vector<std::string> CopyRows(std::vector<TFileRow>& rows, const std::string& folder, const TRunOptions& options, TRunMode mode,
              const TRunEvents& events);
