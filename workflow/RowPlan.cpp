#include "workflow/RowPlan.h"

#include "workflow/NewFileName.h"

TRowPlan PlanRow(const TFileRow& row, std::string_view folder) {
  TRowPlan plan;
  if (row.ReadProblem.Kind != TRowKind::None) {
    plan.Result = row.ReadProblem;
  } else if (row.CreationTime.empty()) {
    plan.Result = rowresult::Skipped(TRowReason::NoCreationTime);
  } else if (!IsUsableNamePart(row.CreationTime)) {
    plan.Action = TRowPlan::TAction::Refuse;
    plan.Result = rowresult::Failed(TRowReason::InvalidName);
  } else {
    plan.Action = TRowPlan::TAction::Act;
    plan.Target = MakeNewFileName(folder, row.CreationTime, row.FileName);
  }
  return plan;
}
