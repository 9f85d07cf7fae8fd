#include "workflow/RenamingWorkflow.h"

#include <cerrno>
#include <optional>
#include <map>
#include <span>
#include <set>

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"
#include "platform/TargetFolders.h"
#include "platform/Text.h"
#include "workflow/CompanionGroup.h"
#include "workflow/CopyBatch.h"
#include "workflow/CopyRun.h"
#include "workflow/LookupPool.h"
#include "workflow/NewFileName.h"
#include "workflow/PlannedNames.h"
#include "workflow/RowPlan.h"
#include "workflow/SourceCheck.h"
#include "workflow/UndoJournal.h"
#include "workflow/UniqueName.h"

namespace {

// The row's result of a placement under a unique name; the row takes the name it got.
TRowResult UniquePlacementResult(const TUniquePlacement& placement, TRowReason done, TRunMode mode, TFileRow& row) {
  row.NewFileName = placement.Target;
  switch (placement.Outcome) {
    case TUniquePlacement::TOutcome::Placed:
      return mode == TRunMode::DryRun ? rowresult::Planned(done) : rowresult::Done(done);
    case TUniquePlacement::TOutcome::AlreadyThere:
      return rowresult::Skipped(TRowReason::AlreadyNamed);
    case TUniquePlacement::TOutcome::Failed:
      break;
  }
  return rowresult::Failed(TRowReason::System, placement.Error);
}

}  // namespace

TRenamingWorkflow::TRenamingWorkflow(TCustomDecoder& decoder, ILineBuffer& lines) : Lookup_(decoder, lines) {}

void TRenamingWorkflow::SetStopFlag(const std::atomic<bool>* stop) {
  Stop_ = stop;
  Lookup_.SetStopFlag(stop);
}

TCreationTimeLookup& TRenamingWorkflow::Lookup() {
  Lookup_.Options = {LookupPath, DateFallbacks};
  return Lookup_;
}

bool TRenamingWorkflow::LibrariesLoaded() const { return Lookup_.LibrariesLoaded(); }

bool TRenamingWorkflow::EnsureLibraries() { return Lookup().EnsureLibraries(); }

std::string TRenamingWorkflow::GetCreationTime(const std::string& fileName) {
  return Lookup().GetCreationTime(fileName);
}

TFileRow TRenamingWorkflow::LookUpRow(const std::string& fileName) { return Lookup().LookUpRow(fileName); }

void TRenamingWorkflow::SelectFiles(const std::vector<std::string>& fileNames) {
  Rows_.clear();
  WorkerShortfall_.clear();
  if (Workers > 1 && !fileNames.empty()) {
    Rows_ = LookUpRowsOnWorkers(fileNames, Workers, {LookupPath, DateFallbacks}, OnProgress, Stop_,
                                &WorkerShortfall_, OnRowRead);
    return;
  }
  Rows_.reserve(fileNames.size());
  for (std::size_t index = 0; index < fileNames.size() && !StopRequested(); ++index) {
    ReportProgress(index, fileNames.size(), fileNames[index]);
    TFileRow row = Lookup().LookUpRow(fileNames[index]);
    // A lookup that the stop cut short has no true row.
    if (StopRequested()) break;
    Rows_.push_back(std::move(row));
    if (OnRowRead) OnRowRead(Rows_.back());
  }
}

std::string TRenamingWorkflow::PlannedRenameName(const TFileRow& row) const {
  return PlanRow(row, RenameFolderOf(row.FileName), PlanOptions_).Target;
}

namespace {

// One row of a rename: the move, or in a dry run the check of it against what earlier rows
// would have taken or freed.
TRowResult RenameRow(TFileRow& row, const std::string& target, TRunMode mode, bool unique, TPlannedNames& planned) {
  // A file that already carries its name has nothing left to do.
  if (target == row.FileName || IsSameFile(row.FileName, target)) return rowresult::Skipped(TRowReason::AlreadyNamed);
  if (mode == TRunMode::DryRun && planned.Freed(row.FileName)) return rowresult::Skipped(TRowReason::NotFound);
  if (unique) {
    const auto sameFile = [&row](const std::string& candidate) { return IsSameFile(row.FileName, candidate); };
    if (mode == TRunMode::Real)
      return UniquePlacementResult(RenameToUniqueName(row.FileName, target), TRowReason::Renamed, mode, row);
    TUniquePlacement placement = PlaceUnderUniqueName(
        target, [&](const std::string& candidate, std::string&) { return planned.Take(candidate); }, sameFile);
    if (placement.Outcome == TUniquePlacement::TOutcome::Placed) planned.Free(row.FileName);
    return UniquePlacementResult(placement, TRowReason::Renamed, mode, row);
  }
  if (mode == TRunMode::DryRun) {
    if (planned.Take(target) != platform::NoReplaceResult::Done)
      return rowresult::Failed(TRowReason::System, platform::ErrorText(EEXIST));
    planned.Free(row.FileName);
    return rowresult::Planned(TRowReason::Renamed);
  }
  std::string error;
  return platform::MoveFileNoReplace(platform::NarrowToWide(row.FileName), platform::NarrowToWide(target), error)
             ? rowresult::Done(TRowReason::Renamed)
             : rowresult::Failed(TRowReason::System, error);
}

// A rename of a row's file with its companions: none of them moves when a companion's new
// name is taken, and the file moves back when a companion cannot follow it. `moved` gets
// the companions that moved (or would move, in a dry run).
TRowResult RenameGroup(TFileRow& row, const std::string& target, TRunMode mode, bool unique, TPlannedNames& planned,
                       TCompanionFinder* companions, TCompanionMoves& moved) {
  moved.clear();
  TCompanionMoves moves;
  if (companions) moves = CompanionMoves(*companions, row.FileName, target);
  TPlannedNames* dryRun = mode == TRunMode::DryRun ? &planned : nullptr;
  // Under unique names the companions follow the name the file gets, known only after.
  if (std::string taken = unique ? std::string() : TakenCompanionName(moves, dryRun); !taken.empty())
    return rowresult::Failed(TRowReason::CompanionTaken, std::move(taken));
  TRowResult result = RenameRow(row, target, mode, unique, planned);
  if (result.Kind != TRowKind::Done || moves.empty()) return result;
  if (unique) {
    moves = CompanionMoves(*companions, row.FileName, row.NewFileName);
    if (dryRun)
      if (std::string taken = TakenCompanionName(moves, dryRun); !taken.empty())
        return rowresult::Failed(TRowReason::CompanionTaken, std::move(taken));
  }
  if (mode == TRunMode::Real) {
    if (TRowResult failed = MoveAllOrNone(moves); failed.Kind != TRowKind::None) {
      std::string ignored;
      platform::MoveFileNoReplace(platform::NarrowToWide(row.NewFileName), platform::NarrowToWide(row.FileName), ignored);
      return failed;
    }
  } else {
    for (const auto& move : moves) planned.Free(move.first);
  }
  result.Companions = CompanionNames(moves);
  moved = std::move(moves);
  return result;
}

// Makes the folders that the plan's new name puts below its folder (none for most names).
bool MakeRowFolders(const TRowPlan& plan, std::vector<std::string>& made, std::string& error) {
  const std::string below = FoldersBelow(plan.Folder, plan.Target);
  return below.empty() || platform::MakeFoldersBelow(plan.Folder, below, made, error);
}

// A row that did not end in its new name leaves no folder it made.
void RemoveMadeFolders(const std::vector<std::string>& made) {
  for (auto folder = made.rbegin(); folder != made.rend(); ++folder) platform::RemoveFolderIfEmpty(*folder);
}

// With SetMtime, a file that was renamed or copied takes its creation time as its
// modification time.
TRowResult WithModificationTime(TRowResult result, const TFileRow& row, const TRowPlan& plan) {
  if (result.Kind != TRowKind::Done || result.Planned || !plan.Mtime) return result;
  std::string error;
  if (!platform::SetModificationTime(platform::NarrowToWide(row.NewFileName), *plan.Mtime, error))
    return rowresult::Failed(TRowReason::System, "modification time not set: " + error);
  return result;
}

// Checked before any row is done, and again as each folder is made (see MakeFoldersBelow):
// a new name whose folders pass through a symbolic link could lead out of its folder.
void RefuseLinkedFolders(std::vector<TRowPlan>& plans) {
  for (TRowPlan& plan : plans) {
    if (plan.Action != TRowPlan::TAction::Act) continue;
    const std::string link = platform::LinkedFolderBelow(plan.Folder, FoldersBelow(plan.Folder, plan.Target));
    if (link.empty()) continue;
    plan.Action = TRowPlan::TAction::Refuse;
    plan.Result = rowresult::Failed(TRowReason::FolderIsLink, link);
  }
}

// The row's result when nothing is due at its turn: its file is gone (an earlier row of the
// same run may have moved it), or its plan skips or refuses it. Kind None when it is due.
TRowResult ResultIfNotDue(const TFileRow& row, const TRowPlan& plan) {
  if (TRowResult problem = CheckSource(row.FileName); problem.Kind != TRowKind::None) return problem;
  return plan.Action == TRowPlan::TAction::Act ? TRowResult{} : plan.Result;
}

// The path as the journal keeps it: absolute, so that an undo from another folder finds it.
std::string FullPath(const std::string& path) {
  return platform::WideToNarrow(platform::ExpandFileName(platform::NarrowToWide(path)));
}

struct TCompanionCopies {
  TRowResult Result;                                     // the row's, naming its companions
  std::vector<std::pair<std::string, TCopyOutcome>> Copies;  // (companion, its planned copy)
};

// Plans the copies of a media file's companions beside the name that its copy takes
// (`planned`, a copy still to be made). A companion whose copy is there already needs none.
// When a companion's name holds another file, nothing of the group stays planned and the
// row fails, naming that name.
TCompanionCopies PlanCompanionCopies(TCopyRun& run, TCompanionFinder& finder, const std::string& media,
                                     const TCopyOutcome& planned) {
  TCompanionCopies group{planned.Result, {}};
  const TCompanionMoves moves = CompanionMoves(finder, media, planned.Target);
  for (const auto& [companion, target] : moves) {
    TCopyOutcome outcome = run.PlanExactly(companion, target);
    if (outcome.Result.Kind == TRowKind::Failed) {
      run.Abandon(planned);
      for (const auto& copy : group.Copies) run.Abandon(copy.second);
      return {rowresult::Failed(TRowReason::CompanionTaken, ExtractFileName(target)), {}};
    }
    if (outcome.Result.Planned) group.Copies.emplace_back(companion, std::move(outcome));
  }
  group.Result.Companions = CompanionNames(moves);
  return group;
}

// Names the written copies of one row (its own first in `group`, then its companions'):
// the companions first, since they never replace and a group that fails can remove them
// again, then the row's own. The row's result; the row takes the name its copy took.
TRowResult NameCopyGroup(std::span<TPendingCopy> group, TFileRow& row, const std::string& target, TCopyRun& run) {
  const auto abandonFrom = [&](std::size_t first) {
    for (std::size_t index = first; index < group.size(); ++index) run.Abandon(group[index].Planned);
  };
  for (const TPendingCopy& copy : group)
    if (!copy.Error.empty()) {
      abandonFrom(0);
      return rowresult::Failed(TRowReason::System, copy.Error);
    }
  TCompanionMoves named;
  for (std::size_t index = 1; index < group.size(); ++index) {
    TPendingCopy& copy = group[index];
    TCopyOutcome outcome = run.Finish(copy.Staged, copy.Source, copy.Planned.Target, copy.Planned, true);
    if (outcome.Result.Kind != TRowKind::Done) {
      RemoveMade(named);
      abandonFrom(index + 1);
      run.Abandon(group.front().Planned);
      return outcome.Result.Reason == TRowReason::System
                 ? outcome.Result
                 : rowresult::Failed(TRowReason::CompanionTaken, ExtractFileName(outcome.Target));
    }
    named.emplace_back(copy.Source, outcome.Target);
  }
  TPendingCopy& own = group.front();
  TCopyOutcome outcome = run.Finish(own.Staged, own.Source, target, own.Planned);
  row.NewFileName = std::move(outcome.Target);
  if (outcome.Result.Kind != TRowKind::Done) {
    RemoveMade(named);
    return outcome.Result;
  }
  outcome.Result.Companions = own.Planned.Result.Companions;
  return outcome.Result;
}

}  // namespace

void TRenamingWorkflow::RenameFiles(TRunMode mode) {
  // Opened lazily by its first record: a run that renames nothing leaves no trace.
  std::optional<TJournalWriter> journal;
  if (JournalKept_ && mode == TRunMode::Real) journal.emplace(JournalPath_);
  JournalFailure_.clear();
  if (mode == TRunMode::Real) LastJournalRunId_.clear();
  bool journalled = false;
  std::vector<TRowPlan> plans;
  plans.reserve(Rows_.size());
  for (const TFileRow& row : Rows_) plans.push_back(PlanRow(row, RenameFolderOf(row.FileName), PlanOptions_));
  // A dry run's picture of the folders: names that earlier rows would take or free.
  TPlannedNames planned;
  TCompanionFinder finder;
  TCompanionFinder* companions = Companions_ ? &finder : nullptr;
  if (companions) SkipCompanionRows(plans, finder);
  ApplyPlans(plans, [&](TFileRow& row, const TRowPlan& plan) {
    std::vector<std::string> made;
    std::string error;
    if (mode == TRunMode::Real && !MakeRowFolders(plan, made, error)) {
      RemoveMadeFolders(made);
      return rowresult::Failed(TRowReason::System, error);
    }
    TCompanionMoves moved;
    TRowResult result = RenameGroup(row, plan.Target, mode, UniqueNames_, planned, companions, moved);
    if (result.Kind != TRowKind::Done) {
      RemoveMadeFolders(made);
    } else if (journal) {
      for (const std::string& folder : made) journal->RecordFolder(FullPath(folder));
      journal->RecordRename(FullPath(row.FileName), FullPath(row.NewFileName));
      for (const auto& [from, to] : moved) journal->RecordRename(FullPath(from), FullPath(to));
      journalled = true;
    }
    return result;
  });
  if (journal) {
    if (journalled) LastJournalRunId_ = journal->RunId();
    if (std::string failure = journal->TakeFailure(); !failure.empty())
      JournalFailure_ = "undo journal not written: " + failure;
  }
}

void TRenamingWorkflow::CopyFiles(const std::string& folder, TRunMode mode) {
  const std::string targetFolder = CopyFolderOf(folder);
  std::vector<TRowPlan> plans;
  std::vector<std::string> sources;
  plans.reserve(Rows_.size());
  sources.reserve(Rows_.size());
  for (const TFileRow& row : Rows_) {
    plans.push_back(PlanRow(row, targetFolder, PlanOptions_));
    sources.push_back(row.FileName);
  }
  TCopyRun run(sources, UniqueNames_    ? TTakenName::Unique
                        : CopyReplaces_ ? TTakenName::Replace
                                        : TTakenName::Keep);
  TCompanionFinder finder;
  TCompanionFinder* companions = Companions_ ? &finder : nullptr;
  if (companions) SkipCompanionRows(plans, finder);
  if (mode == TRunMode::Real) {
    CopyInBatches(plans, run, companions);
    return;
  }
  ApplyPlans(plans, [&](TFileRow& row, const TRowPlan& plan) {
    TCopyOutcome outcome = run.Plan(row.FileName, plan.Target);
    if (companions && outcome.Result.Planned)
      outcome.Result = PlanCompanionCopies(run, *companions, row.FileName, outcome).Result;
    row.NewFileName = std::move(outcome.Target);
    return outcome.Result;
  });
}

namespace {

// A batch ends at this many files or bytes: each batch waits for the disk once, and a stop
// or a crash leaves at most one batch's temporary files to remove.
constexpr std::size_t BatchFiles = 128;
constexpr std::uint64_t BatchBytes = std::uint64_t{512} << 20;

std::uint64_t SizeOf(const std::string& path) {
  platform::FileStatus status;
  return platform::GetFileStatus(platform::NarrowToWide(path), status) && status.size > 0
             ? static_cast<std::uint64_t>(status.size)
             : 0;
}

}  // namespace

void TRenamingWorkflow::CopyInBatches(std::vector<TRowPlan>& plans, TCopyRun& run, TCompanionFinder* companions) {
  RefuseLinkedFolders(plans);
  TCopyBytes bytes;
  for (std::size_t index = 0; index < Rows_.size(); ++index)
    if (plans[index].Action == TRowPlan::TAction::Act) bytes.Total += SizeOf(Rows_[index].FileName);
  for (std::size_t first = 0; first < Rows_.size() && !StopRequested();) {
    std::vector<TPendingCopy> copies;
    const std::size_t end = PlanCopyBatch(first, plans, run, companions, copies);
    WriteAndSync(copies, Workers, Stop_);
    // A stop names none of the batch's copies and reports none of its rows: the temporary
    // files go with the copies.
    if (StopRequested()) return;
    NameCopyBatch(first, end, plans, run, copies, bytes);
    first = end;
  }
}

std::size_t TRenamingWorkflow::PlanCopyBatch(std::size_t first, const std::vector<TRowPlan>& plans, TCopyRun& run,
                                             TCompanionFinder* companions, std::vector<TPendingCopy>& copies) {
  std::uint64_t batchBytes = 0;
  std::size_t end = first;
  for (; end < Rows_.size() && copies.size() < BatchFiles; ++end) {
    TFileRow& row = Rows_[end];
    const TRowPlan& plan = plans[end];
    // A file that would make the batch too large starts the next one: a large file is
    // copied on its own, and the rows before it are reported first.
    const std::uint64_t size = plan.Action == TRowPlan::TAction::Act ? SizeOf(row.FileName) : 0;
    if (!copies.empty() && batchBytes + size > BatchBytes) break;
    ReportProgress(end, Rows_.size(), row.FileName);
    if (StopRequested()) break;
    row.Result = ResultIfNotDue(row, plan);
    if (row.Result.Kind != TRowKind::None) continue;
    TPendingCopy copy;
    copy.Row = end;
    copy.Mtime = plan.Mtime;
    std::string error;
    if (!MakeRowFolders(plan, copy.MadeFolders, error)) {
      RemoveMadeFolders(copy.MadeFolders);
      row.NewFileName = plan.Target;
      row.Result = rowresult::Failed(TRowReason::System, error);
      continue;
    }
    copy.Planned = run.Plan(row.FileName, plan.Target);
    row.NewFileName = copy.Planned.Target;
    if (!copy.Planned.Result.Planned) {
      row.Result = copy.Planned.Result;
      RemoveMadeFolders(copy.MadeFolders);
      continue;
    }
    std::vector<TPendingCopy> companionCopies;
    if (companions) {
      TCompanionCopies group = PlanCompanionCopies(run, *companions, row.FileName, copy.Planned);
      if (group.Result.Kind == TRowKind::Failed) {
        row.Result = std::move(group.Result);
        RemoveMadeFolders(copy.MadeFolders);
        continue;
      }
      copy.Planned.Result = std::move(group.Result);
      for (auto& [source, planned] : group.Copies) {
        TPendingCopy& companion = companionCopies.emplace_back();
        companion.Row = end;
        companion.Source = source;
        companion.Companion = true;
        companion.Planned = std::move(planned);
      }
    }
    batchBytes += size;
    copy.Source = row.FileName;
    copies.push_back(std::move(copy));
    for (TPendingCopy& companion : companionCopies) copies.push_back(std::move(companion));
  }
  return end;
}

void TRenamingWorkflow::NameCopyBatch(std::size_t first, std::size_t end, const std::vector<TRowPlan>& plans,
                                      TCopyRun& run, std::vector<TPendingCopy>& copies, TCopyBytes& bytes) {
  std::set<std::string> folders;
  for (std::size_t index = 0, next = 0; index < copies.size(); index = next) {
    for (next = index + 1; next < copies.size() && copies[next].Companion;) ++next;
    TPendingCopy& copy = copies[index];
    TFileRow& row = Rows_[copy.Row];
    row.Result = NameCopyGroup(std::span(copies).subspan(index, next - index), row, plans[copy.Row].Target, run);
    if (row.Result.Kind == TRowKind::Done) {
      folders.insert(RenameFolderOf(row.NewFileName));
    } else {
      RemoveMadeFolders(copy.MadeFolders);
    }
  }
  // A new name lasts through a power loss once its folder is durable.
  std::map<std::string, std::string> folderFailures;
  for (const std::string& folder : folders) {
    std::string error;
    if (!platform::SyncFolder(platform::NarrowToWide(folder), error)) folderFailures[folder] = error;
  }
  for (std::size_t index = first; index < end; ++index) {
    TFileRow& row = Rows_[index];
    if (row.Result.Kind == TRowKind::Done) {
      if (const auto failure = folderFailures.find(RenameFolderOf(row.NewFileName)); failure != folderFailures.end())
        row.Result = rowresult::Failed(TRowReason::System, failure->second);
      bytes.Done += SizeOf(row.NewFileName);
      if (OnCopyBytes) OnCopyBytes(bytes.Done, bytes.Total);
    }
    if (OnRowDone) OnRowDone(row);
  }
}

void TRenamingWorkflow::SkipCompanionRows(std::vector<TRowPlan>& plans, TCompanionFinder& finder) const {
  std::map<std::string, std::string> owners;  // companion -> the name of its media file
  for (std::size_t index = 0; index < Rows_.size(); ++index)
    if (plans[index].Action == TRowPlan::TAction::Act)
      for (const std::string& companion : finder.Find(Rows_[index].FileName))
        owners.emplace(companion, ExtractFileName(Rows_[index].FileName));
  for (std::size_t index = 0; index < Rows_.size(); ++index) {
    // A companion is never media that has companions of its own (sidecars and clips of
    // photos are not photos), so no two rows can claim each other.
    const auto owner = owners.find(Rows_[index].FileName);
    if (owner == owners.end()) continue;
    plans[index].Action = TRowPlan::TAction::Skip;
    plans[index].Result = rowresult::Skipped(TRowReason::MovesWithMedia, owner->second);
  }
}

void TRenamingWorkflow::ApplyPlans(std::vector<TRowPlan>& plans, const TRowOperation& operation) {
  RefuseLinkedFolders(plans);
  for (std::size_t index = 0; index < Rows_.size() && !StopRequested(); ++index) {
    TFileRow& row = Rows_[index];
    const TRowPlan& plan = plans[index];
    ReportProgress(index, Rows_.size(), row.FileName);
    row.Result = ResultIfNotDue(row, plan);
    if (row.Result.Kind == TRowKind::None) {
      row.NewFileName = plan.Target;
      row.Result = WithModificationTime(operation(row, plan), row, plan);
      // A stop that cut the operation short leaves a row that was not done.
      if (StopRequested() && row.Result.Kind == TRowKind::Failed) return;
    }
    if (OnRowDone) OnRowDone(row);
  }
}

void TRenamingWorkflow::ReportProgress(std::size_t index, std::size_t count, const std::string& fileName) const {
  if (OnProgress) OnProgress(index, count, fileName);
}
