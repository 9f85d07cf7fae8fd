#include "window/RunSummary.h"

std::string RunSummary(TRunKind kind, std::span<const TFileRow> rows) {
  if (kind == TRunKind::Reading) {
    std::size_t dated = 0;
    for (const TFileRow& row : rows)
      if (!row.CreationTime.empty()) ++dated;
    return std::to_string(rows.size()) + " files read, " + std::to_string(dated) + " with a creation time";
  }
  TRunCounts counts;
  for (const TFileRow& row : rows) counts.Add(row.Result);
  const char* done = kind == TRunKind::Renaming  ? " renamed"
                     : kind == TRunKind::Copying ? " copied"
                                                 : " would be copied";
  return std::to_string(counts.Done) + done + CompanionCountText(counts.Companions) + ", " +
         std::to_string(counts.Skipped) + " skipped, " + std::to_string(counts.Failed) + " failed";
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
