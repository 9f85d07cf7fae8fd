#include "workflow/RowPlan.h"

#include "workflow/NewFileName.h"
#include "workflow/FileRow.h"

TRowPlan PlanRow(const TFileRow& row, std::string_view folder, const TPlanOptions& options) {
  TRowPlan plan;
  if (row.ReadProblem.Kind != TRowKind::None) {
    plan.Result = row.ReadProblem;
    return plan;
  }
  if (row.CreationTime.empty()) {
    plan.Result = rowresult::Skipped(row.DateOutOfRange ? TRowReason::DateOutOfRange : TRowReason::NoCreationTime);
    return plan;
  }
  if (options.SkipUnsetDates && row.DateLooksUnset) {
    plan.Result = rowresult::Skipped(TRowReason::DateLooksUnset);
    return plan;
  }
  // Never a made-up name: a time the options cannot read skips the row.
  TNamingOptions naming = options.Naming;
  if (naming.TzRecorded) naming.Tz = TTimeZone::FixedOffset(row.RecordedOffsetSeconds.value_or(0));
  const std::optional<std::string> namePart = NamePartFor(row.CreationTime, naming);
  const std::optional<TCreationTime> moment = options.SetMtime ? ParseCreationTime(row.CreationTime) : std::nullopt;
  if (!namePart || (options.SetMtime && !moment)) {
    plan.Result = rowresult::Skipped(TRowReason::NotUnderstood);
  } else if (!IsUsableNamePath(*namePart, !options.Naming.Format.empty())) {
    plan.Action = TRowPlan::TAction::Refuse;
    plan.Result = rowresult::Failed(TRowReason::InvalidName);
  } else {
    plan.Action = TRowPlan::TAction::Act;
    plan.Target = MakeNewFileName(folder, *namePart, row.FileName);
    plan.Folder = folder;
    // A time without zone is UTC unless --assume-tz names its zone, as for names.
    if (moment) plan.Mtime = InstantOf(ResolveZones(*moment, options.Naming).Time).time_since_epoch().count();
  }
  return plan;
}
