// The rename in place of a run's rows, each file to its creation-time name in its own
// folder, never replacing a file, with its companions and the undo journal.
#pragma once
#include <string>
#include <vector>

#include "workflow/rows/FileRow.h"
#include "workflow/run/RowRun.h"
#include "workflow/options/RunOptions.h"

struct TRenameOutcome {
  // The id of the journal run that a real rename wrote, or empty when it renamed nothing or
  // kept no journal.
  std::string JournalRunId;
  // Why the journal was not written ("undo journal not written: ..."), or empty.
  std::string JournalFailure;
};

TRenameOutcome RenameRows(std::vector<TFileRow>& rows, const TRunOptions& options, TRunMode mode,
                          const TRunEvents& events);
