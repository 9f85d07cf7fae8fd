// The one-line summary that the window keeps after a run over the file list.
#pragma once
#include <span>
#include <string>

#include "workflow/RenamingWorkflow.h"
#include "workflow/rows/RunCounts.h"
#include "workflow/undo/UndoRun.h"

// A read of files, a rename, the plan of a copy (its dry run) and a copy.
enum class TRunKind { Reading, Renaming, PlanningCopy, Copying };

// "300 files read, 298 with a creation time" after reading (`rows`: those the read added);
// "300 renamed, 2 skipped, 1 failed" after a rename ("copied" after a copy, "would be copied"
// for its plan), with " (+N companions)" after the count of done rows when companions went
// with them. A dry run's rows count as done.
std::string RunSummary(TRunKind kind, std::span<const TFileRow> rows);
// "2 restored, 1 skipped" after an undo, with the reason the run could not be marked undone.
std::string UndoSummary(const TUndoOutcome& outcome);
