#include "workflow/rows/RunCounts.h"

void TRunCounts::Add(const TRowResult& result) {
  if (result.Kind == TRowKind::Done) ++Done;
  if (result.Kind == TRowKind::Skipped) ++Skipped;
  if (result.Kind == TRowKind::Failed) ++Failed;
  if (result.Kind != TRowKind::Failed) Companions += result.Companions.size();
}

TRunCounts CountRows(const std::vector<TFileRow>& rows) {
  TRunCounts counts;
  for (const TFileRow& row : rows) counts.Add(row.Result);
  return counts;
}

std::string CompanionCountText(std::size_t companions) {
  if (companions == 0) return {};
  return " (+" + std::to_string(companions) + (companions == 1 ? " companion)" : " companions)");
}
