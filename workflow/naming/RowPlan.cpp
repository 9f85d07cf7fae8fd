#include "workflow/naming/RowPlan.h"

#include <cerrno>

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"
#include "workflow/rows/FileRow.h"
#include "workflow/naming/NewFileName.h"

namespace {

// A new name that no file system holds fails before any folder is made for it: each name
// of the folders and file below `folder`, and the whole path, within the system's limits.
bool FitsTheSystem(std::string_view folder, std::string_view target) {
  if (target.size() >= platform::MaxPathBytes) return false;
  std::size_t length = 0;
  for (const char c : target.substr(folder.size())) {
    const auto byte = static_cast<unsigned char>(c);
    length = platform::IsPathDelimiter(byte) ? 0 : length + platform::NameUnitsOf(byte);
    if (length > platform::MaxNameLength) return false;
  }
  return true;
}

}  // namespace

TRowPlan PlanRow(const TFileRow& row, std::string_view folder, const TPlanOptions& options, std::size_t counter) {
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
  naming.Shift = naming.ShiftFor(row.Camera.Model);
  const std::string ownName = ExtractFileName(row.FileName);
  const TNameFields fields{row.Camera.Make, row.Camera.Model,
                           std::string_view(ownName).substr(0, ownName.size() - ExtractExtension(ownName).size()),
                           counter};
  const std::optional<std::string> namePart = NamePartFor(row.CreationTime, row.Time, naming, fields);
  const std::optional<TCreationTime> moment = options.SetMtime ? row.Time : std::nullopt;
  if (!namePart || (options.SetMtime && !moment)) {
    plan.Result = rowresult::Skipped(TRowReason::NotUnderstood);
  } else if (!IsUsableNamePath(*namePart, !options.Naming.Format.empty())) {
    plan.Action = TRowPlan::TAction::Refuse;
    plan.Result = rowresult::Failed(TRowReason::InvalidName);
  } else if (std::string target = MakeNewFileName(folder, *namePart, row.FileName); !FitsTheSystem(folder, target)) {
    plan.Action = TRowPlan::TAction::Refuse;
    plan.Result = rowresult::Failed(TRowReason::System, platform::ErrorText(ENAMETOOLONG));
  } else {
    plan.Action = TRowPlan::TAction::Act;
    plan.Target = std::move(target);
    plan.Folder = folder;
    // A time without zone is UTC unless --assume-tz names its zone, as for names.
    // The shifted time is the corrected recording time.
    if (moment) plan.Mtime = InstantOf(ResolveTime(*moment, naming).Time).time_since_epoch().count();
  }
  return plan;
}
