#include "window/RunSummary.h"

std::string RunSummary(TRunKind kind, const std::vector<TFileRow>& rows) {
  if (kind == TRunKind::Reading) {
    std::size_t dated = 0;
    for (const TFileRow& row : rows)
      if (!row.CreationTime.empty()) ++dated;
    return std::to_string(rows.size()) + " files read, " + std::to_string(dated) + " with a creation time";
  }
  std::size_t done = 0, skipped = 0, failed = 0;
  for (const TFileRow& row : rows) {
    if (row.Result.Kind == TRowKind::Done) ++done;
    if (row.Result.Kind == TRowKind::Skipped) ++skipped;
    if (row.Result.Kind == TRowKind::Failed) ++failed;
  }
  return std::to_string(done) + (kind == TRunKind::Renaming ? " renamed, " : " copied, ") + std::to_string(skipped) +
         " skipped, " + std::to_string(failed) + " failed";
}

std::string UndoSummary(const TUndoOutcome& outcome) {
  std::size_t restored = 0;
  for (const TUndoRow& row : outcome.Rows)
    if (row.Result == undoresult::Restored) ++restored;
  std::string summary = std::to_string(restored) + " restored, " + std::to_string(outcome.Rows.size() - restored) +
                        " not restored";
  if (!outcome.MarkError.empty()) summary += "; not marked undone: " + outcome.MarkError;
  return summary;
}
