#include "workflow/run/RowRun.h"

#include <map>

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"
#include "platform/TargetFolders.h"
#include "workflow/files/Companions.h"
#include "workflow/run/ModificationTime.h"
#include "workflow/naming/NewFileName.h"
#include "workflow/rows/SourceCheck.h"

namespace {

// With SetMtime, a file that was renamed or copied takes its creation time as its
// modification time. A time it did not take leaves the row done, with a note.
TRowResult WithModificationTime(TRowResult result, const TFileRow& row, const TRowPlan& plan) {
  if (result.Kind != TRowKind::Done || result.Planned || !plan.Mtime) return result;
  result.MtimeNotSet = GiveModificationTime(row.NewFileName, *plan.Mtime);
  return result;
}

TRowResult FolderFailure(platform::FolderWalk walk, std::string detail) {
  return walk == platform::FolderWalk::Link ? rowresult::Failed(TRowReason::FolderIsLink, std::move(detail))
                                            : rowresult::Failed(TRowReason::System, std::move(detail));
}

}  // namespace

TRowResult OpenRowFolder(const TRowPlan& plan, platform::TargetFolder& folder, std::vector<platform::MadeFolder>& made,
                         const TRunEvents& events) {
  const auto walk = folder.Open(plan.Folder, FoldersBelow(plan.Folder, plan.Target), made);
  if (!walk) return FolderFailure(walk.Kind(), walk.Message());
  if (events.OnFolderHeld) events.OnFolderHeld(folder.Path());
  return {};
}

TRowResult RecheckRowFolder(const platform::TargetFolder& folder) {
  const auto walk = folder.Recheck();
  return walk ? TRowResult{} : FolderFailure(walk.Kind(), walk.Message());
}

void RemoveMadeFolders(const std::vector<platform::MadeFolder>& made) {
  for (auto folder = made.rbegin(); folder != made.rend(); ++folder) platform::RemoveMadeFolder(*folder);
}

void RefuseLinkedFolders(std::vector<TRowPlan>& plans) {
  for (TRowPlan& plan : plans) {
    if (plan.Action != TRowPlan::TAction::Act) continue;
    const std::string link = platform::LinkedFolderBelow(plan.Folder, FoldersBelow(plan.Folder, plan.Target));
    if (link.empty()) continue;
    plan.Action = TRowPlan::TAction::Refuse;
    plan.Result = rowresult::Failed(TRowReason::FolderIsLink, link);
  }
}

TRowResult ResultIfNotDue(const TFileRow& row, const TRowPlan& plan) {
  // A companion's row tells of its media file's row, whether its file is still there or
  // has gone with it.
  if (plan.Result.Reason == TRowReason::MovesWithMedia || plan.Result.Reason == TRowReason::MovedWithMedia)
    return plan.Result;
  if (TRowResult problem = CheckSource(row.FileName); problem.Kind != TRowKind::None) return problem;
  return plan.Action == TRowPlan::TAction::Act ? TRowResult{} : plan.Result;
}

void SkipCompanionRows(const std::vector<TFileRow>& rows, std::vector<TRowPlan>& plans, TCompanionFinder& finder) {
  std::map<std::string, std::string> owners;  // companion -> the name of its media file
  for (std::size_t index = 0; index < rows.size(); ++index)
    if (plans[index].Action == TRowPlan::TAction::Act)
      for (const std::string& companion : finder.Find(rows[index].FileName))
        owners.emplace(companion, ExtractFileName(rows[index].FileName));
  for (std::size_t index = 0; index < rows.size(); ++index) {
    // A companion is never media that has companions of its own (sidecars and clips of
    // photos are not photos), so no two rows can claim each other.
    const auto owner = owners.find(rows[index].FileName);
    if (owner == owners.end()) continue;
    plans[index].Action = TRowPlan::TAction::Skip;
    plans[index].Result = rowresult::Skipped(TRowReason::MovesWithMedia, owner->second);
  }
}

void ApplyPlans(std::vector<TFileRow>& rows, std::vector<TRowPlan>& plans, const TRunEvents& events,
                const TRowOperation& operation) {
  RefuseLinkedFolders(plans);
  for (std::size_t index = 0; index < rows.size() && !events.StopRequested(); ++index) {
    TFileRow& row = rows[index];
    const TRowPlan& plan = plans[index];
    events.ReportProgress(index, rows.size(), row.FileName);
    row.Result = ResultIfNotDue(row, plan);
    // A companion's row shows the name it takes with its media file.
    if (row.Result.Kind != TRowKind::None && !plan.Target.empty()) row.NewFileName = plan.Target;
    if (row.Result.Kind == TRowKind::None) {
      row.NewFileName = plan.Target;
      row.Result = WithModificationTime(operation(row, plan), row, plan);
      // A stop that cut the operation short leaves a row that was not done.
      if (events.StopRequested() && row.Result.Kind == TRowKind::Failed) return;
    }
    if (events.OnRowDone) events.OnRowDone(row);
  }
}

