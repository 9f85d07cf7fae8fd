#include "cli/UndoCommand.h"

#include <ostream>
#include <vector>

#include "cli/Diagnostic.h"
#include "cli/ExitStatus.h"
#include "cli/RowOutput.h"
#include "workflow/undo/RunFolders.h"
#include "workflow/undo/UndoJournal.h"
#include "workflow/undo/UndoRun.h"
#include "platform/Environment.h"

namespace {

constexpr const char* kUndo = "undo";

// The journal's runs; false (with the reason on `err`) when there is no journal to read.
bool LoadRuns(std::string& journalPath, std::vector<TJournalRun>& runs, std::ostream& err) {
  journalPath = DefaultJournalPath();
  if (journalPath.empty()) {
    Diagnose(err, kUndo, platform::NoUserStateFolder);
    return false;
  }
  if (const TResult read = ReadJournal(journalPath, runs); !read) {
    Diagnose(err, kUndo, journalPath + ": " + read.Message());
    return false;
  }
  return true;
}

}  // namespace

int ListUndoRuns(std::ostream& out, std::ostream& err) {
  std::string journalPath;
  std::vector<TJournalRun> runs;
  if (!LoadRuns(journalPath, runs, err)) return ExitFailure;
  for (const TJournalRun& run : runs) out << RunListLine(run) << '\t' << OutputField(RunFolderText(run)) << '\n';
  return ExitSuccess;
}

int RunUndo(const std::string& runId, std::ostream& out, std::ostream& err) {
  std::string journalPath;
  std::vector<TJournalRun> runs;
  if (!LoadRuns(journalPath, runs, err)) return ExitFailure;
  const TJournalRun* run = runId.empty() ? MostRecentRunToUndo(runs) : FindRun(runs, runId);
  if (!run && runId.empty()) {
    Diagnose(err, kUndo, "no rename run left to undo");
    return ExitFailure;
  }
  // A RUN that names no run is a mistake on the command line, like any other bad operand.
  if (!run) {
    Diagnose(err, kUndo, "no run '" + runId + "' in the journal");
    return ExitUsage;
  }
  // Undoing twice would only meet files that are back already; say so instead.
  if (run->Undone) {
    Diagnose(err, kUndo, "run '" + run->Id + "' was undone already");
    return ExitFailure;
  }
  const TUndoOutcome outcome = UndoRun(*run, journalPath);
  for (const TUndoRow& row : outcome.Rows)
    out << OutputField(row.CurrentPath) << '\t' << OutputField(row.OldPath) << '\t' << row.Result << '\n' << std::flush;
  if (!outcome.MarkError.empty()) Diagnose(err, kUndo, "run not marked as undone: " + outcome.MarkError);
  return outcome.AllRestored ? ExitSuccess : ExitFailure;
}
