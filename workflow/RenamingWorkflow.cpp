#include "workflow/RenamingWorkflow.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>

#include "FFDecode/CustomDecoder.h"
#include "Paths/PathHelpers.h"
#include "Text/Trim.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "workflow/Companions.h"
#include "workflow/ContainerDates.h"
#include "workflow/CopyRun.h"
#include "workflow/CreationTimeText.h"
#include "workflow/HeaderLookup.h"
#include "workflow/LookupPool.h"
#include "workflow/NameAndFileDates.h"
#include "workflow/NewFileName.h"
#include "workflow/PhotoDate.h"
#include "workflow/PngDate.h"
#include "workflow/RowPlan.h"
#include "workflow/SourceCheck.h"
#include "workflow/UndoJournal.h"
#include "workflow/UniqueName.h"
#include "workflow/UnsetDate.h"

namespace {

// The decoder's message names the file first; the row already does.
std::string WithoutNamePrefix(const std::string& message, const std::string& fileName) {
  const std::string prefix = fileName + ": ";
  return message.starts_with(prefix) ? message.substr(prefix.size()) : message;
}

bool FileOrFolderExists(const std::string& name) {
  platform::FileStatus status;
  return platform::GetFileStatus(platform::NarrowToWide(name), status);
}

bool IsSameFile(const std::string& first, const std::string& second) {
  platform::FileStatus a;
  platform::FileStatus b;
  return platform::GetFileStatus(platform::NarrowToWide(first), a) &&
         platform::GetFileStatus(platform::NarrowToWide(second), b) && a.device == b.device && a.inode == b.inode;
}

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

// A dry run's stand-in for the no-replace operation: a name counts as taken when an
// earlier row of the run would have taken it, or when a file holds it that no earlier row
// would have moved away. A name that is free is taken for the rows after.
class TPlannedNames {
 public:
  platform::NoReplaceResult Take(const std::string& candidate) {
    if (Taken_.contains(candidate) || (FileOrFolderExists(candidate) && !Freed_.contains(candidate)))
      return platform::NoReplaceResult::TargetExists;
    Taken_.insert(candidate);
    return platform::NoReplaceResult::Done;
  }
  bool Freed(const std::string& name) const { return Freed_.contains(name); }
  void Free(const std::string& name) { Freed_.insert(name); }

 private:
  std::set<std::string> Taken_;
  std::set<std::string> Freed_;
};

}  // namespace

TRenamingWorkflow::TRenamingWorkflow(TCustomDecoder& decoder, ILineBuffer& lines)
    : Decoder_(decoder), Lines_(lines) {}

bool TRenamingWorkflow::LibrariesLoaded() const { return Decoder_.LibrariesLoaded(); }

bool TRenamingWorkflow::EnsureLibraries() {
  if (Decoder_.LibrariesLoaded()) return true;
  // An unknown folder must not become a relative path: "LibAV" of the working folder
  // could hold anything.
  const std::u16string exeFolder = GetExeFolder();
  if (Decoder_.LoadLibraries(exeFolder.empty() ? std::u16string() : exeFolder + u"LibAV")) return true;
  LibraryError_ = Decoder_.LastErrMsg();
  return false;
}

TRowResult TRenamingWorkflow::LookUp(const std::string& fileName, std::string& creationTime,
                                     std::vector<TFileDate>& containerDates) {
  Lines_.Clear();
  creationTime.clear();
  containerDates.clear();
  if (!EnsureLibraries()) return rowresult::Skipped(TRowReason::CannotRead, LibraryError_);
  if (TRowResult problem = CheckSource(fileName); problem.Kind != TRowKind::None) return problem;
  if (LookupPath == TLookupPath::HeaderFirst) {
    std::string fromHeader = CreationTimeFromHeader(Decoder_, Lines_, fileName, containerDates);
    if (!text::TrimControls(fromHeader).empty()) {
      creationTime = std::move(fromHeader);
      return {};
    }
  }
  if (!Decoder_.LoadFile(platform::NarrowToWide(fileName)))
    return rowresult::Skipped(TRowReason::CannotRead, WithoutNamePrefix(Decoder_.LastErrMsg(), fileName));
  const std::string report = text::TrimControls(Decoder_.FileInfoText());
  containerDates = ContainerDates(Decoder_.FormatContext());
  Decoder_.CloseFile();
  creationTime = CreationTimeFromReport(Lines_, report);
  return {};
}

std::string TRenamingWorkflow::GetCreationTime(const std::string& fileName) {
  std::string creationTime;
  std::vector<TFileDate> containerDates;
  LookUp(fileName, creationTime, containerDates);
  return creationTime;
}

// The creation time comes from the container's creation_time as stored; when it holds none,
// from the first of the other dates the file holds, and then from the fallbacks asked for.
TFileRow TRenamingWorkflow::LookUpRow(const std::string& fileName) {
  TFileRow row;
  row.FileName = fileName;
  std::string creationTime;
  std::vector<TFileDate> containerDates;
  row.ReadProblem = LookUp(row.FileName, creationTime, containerDates);
  row.CreationTime = text::TrimControls(creationTime);
  // Each candidate: the date as listed and the text it gives as creation time.
  std::vector<std::pair<TFileDate, std::string>> candidates;
  if (!row.CreationTime.empty())
    // The information text puts one blank between "=" and the value; the value is the rest.
    candidates.push_back({{"container metadata", creationTime.starts_with(' ') ? creationTime.substr(1) : creationTime},
                          row.CreationTime});
  for (TFileDate& date : containerDates) {
    if (date.Source == "com.apple.quicktime.creationdate")
      if (const auto recorded = ParseCreationTime(text::TrimControls(date.Text)); recorded && !recorded->WrittenAsUtc)
        row.RecordedOffsetSeconds = recorded->OffsetSeconds;
    std::string used = IsUsableContainerDate(date) ? text::TrimControls(date.Text) : std::string();
    candidates.push_back({std::move(date), std::move(used)});
  }
  // Files the libraries could not open may still be photos with a date of their own.
  const bool readable = row.ReadProblem.Kind == TRowKind::None || row.ReadProblem.Reason == TRowReason::CannotRead;
  const auto found = [&candidates] {
    return std::any_of(candidates.begin(), candidates.end(), [](const auto& candidate) { return !candidate.second.empty(); });
  };
  if (readable && (DateFallbacks.ListAll || !found())) {
    // The media libraries read no EXIF, and some photo files (HEIF) they cannot open at all.
    if (std::optional<TPhotoDate> photo = ReadPhotoDate(row.FileName)) {
      if (const auto parsed = ParseCreationTime(photo->CreationTime); parsed && !row.RecordedOffsetSeconds)
        row.RecordedOffsetSeconds = parsed->OffsetSeconds;
      candidates.push_back({{photo->Source, photo->RawText}, text::TrimControls(photo->CreationTime)});
    }
    if (std::optional<TFileDate> png = ReadPngDate(row.FileName)) candidates.push_back({*png, png->Text});
  }
  if (readable && DateFallbacks.FromName && (DateFallbacks.ListAll || !found()))
    if (std::optional<TFileDate> named = DateFromFileName(row.FileName)) candidates.push_back({*named, named->Text});
  if (readable && DateFallbacks.FromMtime && (DateFallbacks.ListAll || !found()))
    if (std::optional<TFileDate> written = DateFromModificationTime(row.FileName))
      candidates.push_back({*written, written->Text});

  for (auto& [date, used] : candidates) {
    if (row.CreationTimeSource.empty() && !used.empty()) {
      row.CreationTime = used;
      row.CreationTimeSource = date.Source;
      row.CreationTimeRaw = date.Text;
      // Another reader found what the media libraries could not.
      if (row.ReadProblem.Reason == TRowReason::CannotRead) row.ReadProblem = {};
    }
    row.Dates.push_back(std::move(date));
  }
  if (const std::optional<TCreationTime> parsed = ParseCreationTime(row.CreationTime)) {
    const auto now = std::chrono::time_point_cast<std::chrono::microseconds>(std::chrono::system_clock::now());
    row.DateLooksUnset = DateLooksUnset(*parsed, now);
  }
  return row;
}

void TRenamingWorkflow::SelectFiles(const std::vector<std::string>& fileNames) {
  Rows_.clear();
  if (Workers > 1 && fileNames.size() > 1) {
    Rows_ = LookUpRowsOnWorkers(fileNames, Workers, LookupPath, OnProgress, Stop_, DateFallbacks);
    return;
  }
  Rows_.reserve(fileNames.size());
  for (std::size_t index = 0; index < fileNames.size() && !StopRequested(); ++index) {
    ReportProgress(index, fileNames.size(), fileNames[index]);
    Rows_.push_back(LookUpRow(fileNames[index]));
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

// Moves `moves` (from, to) one after another without replacing; when one fails, those
// already made are moved back. Returns the failure's result, kind None when all went.
TRowResult MoveAllOrNone(const std::vector<std::pair<std::string, std::string>>& moves) {
  for (std::size_t index = 0; index < moves.size(); ++index) {
    std::string error;
    const platform::NoReplaceResult moved = platform::MoveNoReplace(
        platform::NarrowToWide(moves[index].first), platform::NarrowToWide(moves[index].second), error);
    if (moved == platform::NoReplaceResult::Done) continue;
    for (std::size_t back = index; back-- > 0;) {
      std::string ignored;
      platform::MoveFileNoReplace(platform::NarrowToWide(moves[back].second), platform::NarrowToWide(moves[back].first),
                                  ignored);
    }
    return moved == platform::NoReplaceResult::TargetExists
               ? rowresult::Failed(TRowReason::CompanionTaken, ExtractFileName(moves[index].second))
               : rowresult::Failed(TRowReason::System, error);
  }
  return {};
}

// The companions of a row's file with their new names beside `mediaTarget`.
std::vector<std::pair<std::string, std::string>> CompanionMoves(const std::string& media, const std::string& mediaTarget) {
  std::vector<std::pair<std::string, std::string>> moves;
  for (const std::string& companion : FindCompanions(media))
    moves.emplace_back(companion, CompanionTarget(companion, media, mediaTarget));
  return moves;
}

// The first companion target that is taken (by a file that is not the companion itself),
// or empty. A dry run also counts the names that earlier rows would take.
std::string TakenCompanionName(const std::vector<std::pair<std::string, std::string>>& moves, TRunMode mode,
                               TPlannedNames& planned) {
  for (const auto& [companion, target] : moves) {
    if (IsSameFile(companion, target)) continue;
    const bool taken = mode == TRunMode::DryRun ? planned.Take(target) != platform::NoReplaceResult::Done
                                                : FileOrFolderExists(target);
    if (taken) return ExtractFileName(target);
  }
  return {};
}

// The names of the companions that moved, for the row's result.
std::vector<std::string> CompanionNames(const std::vector<std::pair<std::string, std::string>>& moves) {
  std::vector<std::string> names;
  for (const auto& move : moves) names.push_back(ExtractFileName(move.first));
  return names;
}

// A rename of a row's file with its companions: none of them moves when a companion's new
// name is taken, and the file moves back when a companion cannot follow it.
TRowResult RenameGroup(TFileRow& row, const std::string& target, TRunMode mode, bool unique, TPlannedNames& planned,
                       bool companions, std::vector<std::pair<std::string, std::string>>& moved) {
  moved.clear();
  std::vector<std::pair<std::string, std::string>> moves;
  if (companions) moves = CompanionMoves(row.FileName, target);
  // Under unique names the companions follow the name the file gets, known only after.
  if (std::string taken = unique ? std::string() : TakenCompanionName(moves, mode, planned); !taken.empty())
    return rowresult::Failed(TRowReason::CompanionTaken, std::move(taken));
  TRowResult result = RenameRow(row, target, mode, unique, planned);
  if (result.Kind != TRowKind::Done || moves.empty()) return result;
  if (unique) {
    moves = CompanionMoves(row.FileName, row.NewFileName);
    if (mode == TRunMode::DryRun)
      if (std::string taken = TakenCompanionName(moves, mode, planned); !taken.empty())
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

// Copies the companions to their targets, never replacing; when one fails, the copies
// made here are removed again. Returns the failure's result, kind None when all went.
TRowResult CopyAllOrNone(const std::vector<std::pair<std::string, std::string>>& copies,
                         const std::atomic<bool>* stop) {
  for (std::size_t index = 0; index < copies.size(); ++index) {
    std::string error;
    const platform::NoReplaceResult copied = platform::CopyNoReplace(
        platform::NarrowToWide(copies[index].first), platform::NarrowToWide(copies[index].second), error, stop);
    if (copied == platform::NoReplaceResult::Done) continue;
    for (std::size_t back = 0; back < index; ++back) {
      std::error_code ignored;
      std::filesystem::remove(copies[back].second, ignored);
    }
    return copied == platform::NoReplaceResult::TargetExists
               ? rowresult::Failed(TRowReason::CompanionTaken, ExtractFileName(copies[index].second))
               : rowresult::Failed(TRowReason::System, error);
  }
  return {};
}

// A copy of a row's file with its companions, whole or not at all. Only files that this
// group wrote anew are removed when a member fails: the companions go first (they never
// replace), then the file; under unique names the file goes first (it never replaces
// either) and the companions follow the name it took.
template <typename TCopyOperation>
TRowResult CopyGroup(TFileRow& row, const std::string& target, std::vector<std::pair<std::string, std::string>> copies,
                     bool unique, const TCopyOperation& copyFile, const std::atomic<bool>* stop) {
  const auto removeAll = [](const std::vector<std::pair<std::string, std::string>>& made) {
    for (const auto& copy : made) {
      std::error_code ignored;
      std::filesystem::remove(copy.second, ignored);
    }
  };
  TRowResult result;
  if (unique) {
    result = copyFile(row, target);
    if (result.Kind != TRowKind::Done) return result;
    copies = CompanionMoves(row.FileName, row.NewFileName);
    if (TRowResult failed = CopyAllOrNone(copies, stop); failed.Kind != TRowKind::None) {
      std::error_code ignored;
      std::filesystem::remove(row.NewFileName, ignored);
      return failed;
    }
  } else {
    if (TRowResult failed = CopyAllOrNone(copies, stop); failed.Kind != TRowKind::None) return failed;
    result = copyFile(row, target);
    if (result.Kind != TRowKind::Done) {
      removeAll(copies);
      return result;
    }
  }
  result.Companions = CompanionNames(copies);
  return result;
}

// The path as the journal keeps it: absolute, so that an undo from another folder finds it.
std::string FullPath(const std::string& path) {
  return platform::WideToNarrow(platform::ExpandFileName(platform::NarrowToWide(path)));
}

}  // namespace

void TRenamingWorkflow::RenameFiles(TRunMode mode) {
  // Opened lazily by its first record: a run that renames nothing leaves no trace.
  std::optional<TJournalWriter> journal;
  if (JournalKept_ && mode == TRunMode::Real) journal.emplace(JournalPath_);
  JournalFailure_.clear();
  std::vector<TRowPlan> plans;
  plans.reserve(Rows_.size());
  for (const TFileRow& row : Rows_) plans.push_back(PlanRow(row, RenameFolderOf(row.FileName), PlanOptions_));
  // A dry run's picture of the folders: names that earlier rows would take or free.
  TPlannedNames planned;
  if (Companions_) SkipCompanionRows(plans);
  ApplyPlans(plans, [&](TFileRow& row, const std::string& target) {
    std::vector<std::pair<std::string, std::string>> companions;
    TRowResult result = RenameGroup(row, target, mode, UniqueNames_, planned, Companions_, companions);
    if (journal && result.Kind == TRowKind::Done) {
      journal->RecordRename(FullPath(row.FileName), FullPath(row.NewFileName));
      for (const auto& [from, to] : companions) journal->RecordRename(FullPath(from), FullPath(to));
    }
    return result;
  });
  if (journal) {
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
  TCopyRun run(sources);
  TPlannedNames planned;
  if (Companions_) SkipCompanionRows(plans);
  const auto copyRow = [&](TFileRow& row, const std::string& target) {
    if (UniqueNames_) {
      // A copy that never replaces cannot harm a source or an earlier row's copy.
      if (mode == TRunMode::Real)
        return UniquePlacementResult(CopyToUniqueName(row.FileName, target, Stop_), TRowReason::Copied, mode, row);
      return UniquePlacementResult(
          PlaceUnderUniqueName(target, [&](const std::string& candidate, std::string&) { return planned.Take(candidate); }),
          TRowReason::Copied, mode, row);
    }
    return mode == TRunMode::DryRun ? run.Plan(row.FileName, target) : run.Copy(row.FileName, target, Stop_);
  };
  ApplyPlans(plans, [&](TFileRow& row, const std::string& target) {
    std::vector<std::pair<std::string, std::string>> copies;
    if (Companions_) copies = CompanionMoves(row.FileName, target);
    // Under unique names the companions follow the name the file gets, known only after.
    if (std::string taken = UniqueNames_ ? std::string() : TakenCompanionName(copies, mode, planned); !taken.empty())
      return rowresult::Failed(TRowReason::CompanionTaken, std::move(taken));
    if (copies.empty() || mode == TRunMode::DryRun) {
      TRowResult result = copyRow(row, target);
      if (result.Kind != TRowKind::Done || copies.empty()) return result;
      if (UniqueNames_) {
        copies = CompanionMoves(row.FileName, row.NewFileName);
        if (std::string taken = TakenCompanionName(copies, mode, planned); !taken.empty())
          return rowresult::Failed(TRowReason::CompanionTaken, std::move(taken));
      }
      result.Companions = CompanionNames(copies);
      return result;
    }
    return CopyGroup(row, target, copies, UniqueNames_, copyRow, Stop_);
  });
}

void TRenamingWorkflow::SkipCompanionRows(std::vector<TRowPlan>& plans) const {
  std::map<std::string, std::string> owners;  // companion -> the name of its media file
  for (std::size_t index = 0; index < Rows_.size(); ++index)
    if (plans[index].Action == TRowPlan::TAction::Act)
      for (const std::string& companion : FindCompanions(Rows_[index].FileName))
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

void TRenamingWorkflow::ApplyPlans(const std::vector<TRowPlan>& plans, const TRowOperation& operation) {
  for (std::size_t index = 0; index < Rows_.size() && !StopRequested(); ++index) {
    TFileRow& row = Rows_[index];
    const TRowPlan& plan = plans[index];
    ReportProgress(index, Rows_.size(), row.FileName);
    // Checked at the row's turn: an earlier row of the same run may have moved this file.
    if (TRowResult problem = CheckSource(row.FileName); problem.Kind != TRowKind::None) {
      row.Result = problem;
    } else if (plan.Action != TRowPlan::TAction::Act) {
      row.Result = plan.Result;
    } else {
      row.NewFileName = plan.Target;
      row.Result = operation(row, plan.Target);
      // A stop that cut the operation short leaves a row that was not done.
      if (StopRequested() && row.Result.Kind == TRowKind::Failed) return;
    }
    if (OnRowDone) OnRowDone(row);
  }
}

void TRenamingWorkflow::ReportProgress(std::size_t index, std::size_t count, const std::string& fileName) const {
  if (OnProgress) OnProgress(index, count, fileName);
}
