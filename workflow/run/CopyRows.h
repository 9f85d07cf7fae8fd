// The copy of a run's rows into a folder under their creation-time names, with their
// companions: copies that never destroy data (CopyRun.h), written in batches that are made
// durable before they are named (CopyBatch.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "workflow/rows/FileRow.h"
#include "workflow/run/RowRun.h"
#include "workflow/options/RunOptions.h"

// What a copy run has to tell beside its rows.
struct TCopyReport {
  std::uint64_t BytesCopied = 0;       // of the copies that took their names
  std::vector<std::string> Notices;   // the temporary files of interrupted copies it removed
};

// Copies each row's file into `folder` (not empty).
TCopyReport CopyRows(std::vector<TFileRow>& rows, const std::string& folder, const TRunOptions& options, TRunMode mode,
              const TRunEvents& events);
