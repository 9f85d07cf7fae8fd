#include "workflow/RenameRows.h"

#include <cerrno>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "workflow/CompanionGroup.h"
#include "workflow/NewFileName.h"
#include "workflow/PlannedNames.h"
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

// The path as the journal keeps it: absolute, so that an undo from another folder finds it.
std::string FullPath(const std::string& path) {
  return platform::WideToNarrow(platform::ExpandFileName(platform::NarrowToWide(path)));
}

}  // namespace

TRenameOutcome RenameRows(std::vector<TFileRow>& rows, const TRunOptions& options, TRunMode mode,
                          const TRunEvents& events) {
  // Opened lazily by its first record: a run that renames nothing leaves no trace.
  std::optional<TJournalWriter> journal;
  if (!options.JournalPath.empty() && mode == TRunMode::Real) journal.emplace(options.JournalPath);
  TRenameOutcome outcome;
  bool journalled = false;
  std::vector<TRowPlan> plans;
  plans.reserve(rows.size());
  for (const TFileRow& row : rows) plans.push_back(PlanRow(row, RenameFolderOf(row.FileName), options.Plan));
  // A dry run's picture of the folders: names that earlier rows would take or free.
  TPlannedNames planned;
  TCompanionFinder finder;
  TCompanionFinder* companions = options.Companions ? &finder : nullptr;
  if (companions) SkipCompanionRows(rows, plans, finder);
  ApplyPlans(rows, plans, events, [&](TFileRow& row, const TRowPlan& plan) {
    std::vector<std::string> made;
    std::string error;
    if (mode == TRunMode::Real && !MakeRowFolders(plan, made, error)) {
      RemoveMadeFolders(made);
      return rowresult::Failed(TRowReason::System, error);
    }
    TCompanionMoves moved;
    TRowResult result = RenameGroup(row, plan.Target, mode, options.UniqueNames, planned, companions, moved);
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
    if (journalled) outcome.JournalRunId = journal->RunId();
    if (std::string failure = journal->TakeFailure(); !failure.empty())
      outcome.JournalFailure = std::string(JournalNotWritten) + failure;
  }
  return outcome;
}

