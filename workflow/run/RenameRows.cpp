#include "workflow/run/RenameRows.h"

#include <map>
#include <optional>

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"
#include "platform/TargetFolders.h"
#include "workflow/run/CompanionGroup.h"
#include "workflow/naming/NewFileName.h"
#include "workflow/run/PlannedNames.h"
#include "workflow/undo/UndoJournal.h"
#include "workflow/naming/UniqueName.h"

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
// `folder`: the held folder of the new name, in a real run.
TRowResult RenameRow(TFileRow& row, const std::string& target, TRunMode mode, bool unique, TPlannedNames& planned,
                     const platform::TargetFolder* folder) {
  // A file that already carries its name has nothing left to do.
  if (target == row.FileName || IsSameFile(row.FileName, target)) return rowresult::Skipped(TRowReason::AlreadyNamed);
  if (mode == TRunMode::DryRun && planned.Freed(row.FileName)) return rowresult::Skipped(TRowReason::NotFound);
  if (unique) {
    const auto sameFile = [&row](const std::string& candidate) { return IsSameFile(row.FileName, candidate); };
    if (mode == TRunMode::Real)
      return UniquePlacementResult(RenameToUniqueName(row.FileName, target, folder), TRowReason::Renamed, mode, row);
    TUniquePlacement placement = PlaceUnderUniqueName(
        target,
        [&](const std::string& candidate) {
          return TResultOf<platform::NoReplaceResult>(planned.Take(candidate, row.FileName), {});
        },
        sameFile);
    if (placement.Outcome == TUniquePlacement::TOutcome::Placed) planned.Free(row.FileName);
    return UniquePlacementResult(placement, TRowReason::Renamed, mode, row);
  }
  if (mode == TRunMode::DryRun) {
    if (planned.Take(target, row.FileName) != platform::NoReplaceResult::Done)
      return rowresult::Failed(TRowReason::NameTaken, planned.TakenBy(target));
    planned.Free(row.FileName);
    return rowresult::Planned(TRowReason::Renamed);
  }
  const auto moved = folder->MoveInto(row.FileName, ExtractFileName(target));
  switch (moved.Kind()) {
    case platform::NoReplaceResult::Done: return rowresult::Done(TRowReason::Renamed);
    case platform::NoReplaceResult::TargetExists: return rowresult::Failed(TRowReason::NameTaken, ExtractFileName(target));
    case platform::NoReplaceResult::Failed: break;
  }
  return rowresult::Failed(TRowReason::System, moved.Message());
}

// The row of a group that is split: "IMG_0001.MOV could not follow (REASON); IMG_0001.JPG
// is now NAME", naming each file that kept its new name.
TRowResult SplitGroup(const TGroupMove& group, const TCompanionMoves& stayed) {
  std::string text = group.FailedCompanion + " could not follow (" + group.Why + ")";
  for (const auto& [from, to] : stayed) text += "; " + ExtractFileName(from) + " is now " + ExtractFileName(to);
  return rowresult::Failed(TRowReason::GroupSplit, std::move(text));
}

// A rename of a row's file with its companions: none of them moves when a companion's new
// name is taken, and the file moves back when a companion cannot follow it. `folder`: the
// held folder of the new names, in a real run. `moved` gets every move of a real run that
// stands (the file's own first), also when the group could not be kept together; in a dry
// run, the moves it would make.
TRowResult RenameGroup(TFileRow& row, const std::string& target, TRunMode mode, bool unique, TPlannedNames& planned,
                       TCompanionFinder* companions, const platform::TargetFolder* folder, const TRunEvents& events,
                       TCompanionMoves& moved) {
  moved.clear();
  TCompanionMoves moves;
  if (companions) moves = CompanionMoves(*companions, row.FileName, target);
  TPlannedNames* dryRun = mode == TRunMode::DryRun ? &planned : nullptr;
  // Under unique names the companions follow the name the file gets, known only after.
  if (std::string taken = unique ? std::string() : TakenCompanionName(moves, dryRun); !taken.empty())
    return rowresult::Failed(TRowReason::CompanionTaken, std::move(taken));
  TRowResult result = RenameRow(row, target, mode, unique, planned, folder);
  if (result.Kind != TRowKind::Done || result.Reason != TRowReason::Renamed) return result;
  if (unique && !moves.empty()) {
    moves = CompanionMoves(*companions, row.FileName, row.NewFileName);
    if (dryRun)
      if (std::string taken = TakenCompanionName(moves, dryRun); !taken.empty())
        return rowresult::Failed(TRowReason::CompanionTaken, std::move(taken));
  }
  if (mode == TRunMode::Real) {
    const std::pair<std::string, std::string> media{row.FileName, row.NewFileName};
    moved.push_back(media);
    if (events.OnFileMoved) events.OnFileMoved(media.first, media.second);
    if (TGroupMove group = MoveAllOrNone(moves, *folder, events.OnFileMoved); group.Failure.Kind != TRowKind::None) {
      if (MoveBack(media, *folder)) moved.clear();
      moved.insert(moved.end(), group.Stayed.begin(), group.Stayed.end());
      return moved.empty() ? group.Failure : SplitGroup(group, moved);
    }
    moved.insert(moved.end(), moves.begin(), moves.end());
  } else {
    moved.emplace_back(row.FileName, row.NewFileName);
    for (const auto& move : moves) {
      planned.Free(move.first);
      moved.push_back(move);
    }
  }
  result.Companions = CompanionNames(moves);
  return result;
}

// The path as the journal keeps it: absolute, so that an undo from another folder finds it.
std::string FullPath(const std::string& path) { return platform::ExpandFileName(path); }

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
  for (std::size_t index = 0; index < rows.size(); ++index)
    plans.push_back(PlanRow(rows[index], RenameFolderOf(rows[index].FileName), options.Plan, index + 1));
  // A dry run's picture of the folders: names that earlier rows would take or free.
  TPlannedNames planned;
  // The rows of companions that a media file's row takes along: they show the name their
  // file takes and, once it has moved, that it moved with the media file.
  std::map<std::string, std::size_t> companionRows;
  for (std::size_t index = 0; index < rows.size(); ++index) companionRows.emplace(rows[index].FileName, index);
  const auto followCompanionRows = [&](const TCompanionMoves& moves, TRunMode mode, const std::string& media) {
    for (std::size_t move = 1; move < moves.size(); ++move) {
      const auto found = companionRows.find(moves[move].first);
      if (found == companionRows.end() || plans[found->second].Result.Reason != TRowReason::MovesWithMedia) continue;
      TRowPlan& companion = plans[found->second];
      companion.Target = moves[move].second;
      if (mode == TRunMode::Real) {
        companion.Result = rowresult::Done(TRowReason::MovedWithMedia);
        companion.Result.Detail = media;
      }
    }
  };
  TCompanionFinder finder;
  TCompanionFinder* companions = options.Companions ? &finder : nullptr;
  if (companions) SkipCompanionRows(rows, plans, finder);
  ApplyPlans(rows, plans, events, [&](TFileRow& row, const TRowPlan& plan) {
    platform::TargetFolder folder;
    std::vector<platform::MadeFolder> made;
    if (mode == TRunMode::Real) {
      TRowResult refused = OpenRowFolder(plan, folder, made, events);
      // The folder was held since it was opened; a level swapped since for a link, or
      // moved away, takes no name.
      if (refused.Kind == TRowKind::None) refused = RecheckRowFolder(folder);
      if (refused.Kind != TRowKind::None) {
        RemoveMadeFolders(made);
        return refused;
      }
    }
    TCompanionMoves moved;
    TRowResult result = RenameGroup(row, plan.Target, mode, options.UniqueNames, planned, companions,
                                    mode == TRunMode::Real ? &folder : nullptr, events, moved);
    if (result.Kind == TRowKind::Done) followCompanionRows(moved, mode, ExtractFileName(row.FileName));
    if (mode == TRunMode::DryRun) return result;
    if (moved.empty()) {
      RemoveMadeFolders(made);
    } else if (journal) {
      // Every move that stands is journalled, also those of a group that came apart, so
      // that an undo takes them back.
      for (const platform::MadeFolder& folderMade : made)
        journal->RecordFolder({FullPath(folderMade.Path), folderMade.Device, folderMade.Inode});
      for (const auto& [from, to] : moved) journal->RecordRename(FullPath(from), FullPath(to));
      journalled = true;
    }
    return result;
  });
  // Rows of companions that came before their media file's row learn the name their file
  // took (or, in a dry run, takes) with it.
  for (std::size_t index = 0; index < rows.size(); ++index)
    if (!plans[index].Target.empty() && rows[index].Result.Reason == TRowReason::MovesWithMedia) {
      rows[index].Result = plans[index].Result;
      rows[index].NewFileName = plans[index].Target;
    }
  if (journal) {
    if (journalled) outcome.JournalRunId = journal->RunId();
    if (std::string failure = journal->TakeFailure(); !failure.empty())
      outcome.JournalFailure = std::string(JournalNotWritten) + failure;
  }
  return outcome;
}

