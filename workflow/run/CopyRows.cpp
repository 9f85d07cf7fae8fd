#include "workflow/run/CopyRows.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <span>

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"
#include "platform/System.h"
#include "platform/TargetFolders.h"
#include "workflow/run/CompanionGroup.h"
#include "workflow/run/CopyBatch.h"
#include "workflow/run/CopyRun.h"
#include "workflow/run/ModificationTime.h"
#include "workflow/naming/NewFileName.h"

namespace {

struct TCompanionCopies {
  TRowResult Result;                                     // the row's, naming its companions
  std::vector<std::pair<std::string, TCopyOutcome>> Copies;  // (companion, its planned copy)
};

// True for a media file that needs no copy of its own because its bytes are at its target
// already: its companions may still be missing there.
bool SameBytesAtTarget(const TRowResult& result) {
  return result.Kind == TRowKind::Skipped &&
         (result.Reason == TRowReason::AlreadyCopied || result.Reason == TRowReason::SameAs);
}

// Plans the copies of a media file's companions beside the name that its copy takes
// (`planned`: a copy still to be made, or a skip because the same bytes are there). A
// companion whose copy is there already needs none. When a companion's name holds another
// file, nothing of the group stays planned and the row fails, naming that name.
TCompanionCopies PlanCompanionCopies(TCopyRun& run, TCompanionFinder& finder, const std::string& media,
                                     const TCopyOutcome& planned) {
  TCompanionCopies group{planned.Result, {}};
  const TCompanionMoves moves = CompanionMoves(finder, media, planned.Target);
  for (const auto& [companion, target] : moves) {
    TCopyOutcome outcome = run.PlanExactly(companion, target);
    if (outcome.Result.Kind == TRowKind::Failed) {
      if (planned.Result.Planned) run.Abandon(planned);
      for (const auto& copy : group.Copies) run.Abandon(copy.second);
      return {rowresult::Failed(TRowReason::CompanionTaken, ExtractFileName(target)), {}};
    }
    if (outcome.Result.Planned) group.Copies.emplace_back(companion, std::move(outcome));
  }
  // A copy names every companion that its target has beside it; a skip only those it brings.
  if (planned.Result.Planned) {
    group.Result.Companions = CompanionNames(moves);
  } else {
    for (const auto& copy : group.Copies) group.Result.Companions.push_back(ExtractFileName(copy.first));
  }
  return group;
}

// Names the written copies of one row (its own first in `group` unless its bytes were at
// the target already, then its companions'): the companions first, since they never
// replace and a group that fails can remove them again, then the row's own. The row's
// result; the row takes the name its copy took.
TRowResult NameCopyGroup(std::span<TPendingCopy> group, TFileRow& row, const TRowPlan& plan, TCopyRun& run) {
  const bool ownCopy = !group.front().Companion;
  const auto abandonFrom = [&](std::size_t first) {
    for (std::size_t index = first; index < group.size(); ++index) run.Abandon(group[index].Planned);
  };
  for (const TPendingCopy& copy : group)
    if (!copy.Error.empty()) {
      abandonFrom(0);
      // A companion's failure names the companion: the row is the media file's.
      return rowresult::Failed(TRowReason::System,
                               copy.Companion ? ExtractFileName(copy.Source) + ": " + copy.Error : copy.Error);
    }
  // The folder was held since before the copies were written; a level swapped since for
  // a link, or moved away, takes no name.
  if (TRowResult moved = RecheckRowFolder(*group.front().Folder); moved.Kind != TRowKind::None) {
    abandonFrom(0);
    return moved;
  }
  TCompanionMoves named;
  for (std::size_t index = ownCopy ? 1 : 0; index < group.size(); ++index) {
    TPendingCopy& copy = group[index];
    TCopyOutcome outcome = run.Finish(copy.Staged, copy.Source, copy.Planned.Target, copy.Planned, true);
    if (outcome.Result.Kind != TRowKind::Done) {
      RemoveMade(named, *group.front().Folder);
      abandonFrom(index + 1);
      if (ownCopy) run.Abandon(group.front().Planned);
      return outcome.Result.Reason == TRowReason::System
                 ? outcome.Result
                 : rowresult::Failed(TRowReason::CompanionTaken, ExtractFileName(outcome.Target));
    }
    named.emplace_back(copy.Source, outcome.Target);
  }
  if (!ownCopy) return group.front().OwnSkip;  // naming the companions it brought
  TPendingCopy& own = group.front();
  TCopyOutcome outcome = run.Finish(own.Staged, own.Source, plan.Target, own.Planned);
  row.NewFileName = std::move(outcome.Target);
  if (outcome.Result.Kind != TRowKind::Done) {
    RemoveMade(named, *group.front().Folder);
    return outcome.Result;
  }
  outcome.Result.Companions = own.Planned.Result.Companions;
  if (own.Mtime) outcome.Result.MtimeNotSet = MtimeNotSetOf(row.NewFileName, *own.Mtime, own.MtimeError);
  return outcome.Result;
}

// A batch ends at this many files or bytes: each batch waits for the disk once, and a stop
// or a crash leaves at most one batch's temporary files to remove.
constexpr std::size_t MostBatchFiles = 128;
constexpr std::uint64_t BatchBytes = std::uint64_t{512} << 20;

// The files of a batch under the process's limit of open files: each holds its temporary
// file open until it is named, and the folder it goes into may hold two more; each worker
// reads one source at a time, and the process keeps some open of its own.
std::size_t BatchFilesUnder(std::uint64_t openFileLimit, unsigned workers) {
  constexpr std::uint64_t OwnFiles = 16;
  if (openFileLimit == 0) return MostBatchFiles;
  const std::uint64_t spare = openFileLimit > OwnFiles + workers ? openFileLimit - OwnFiles - workers : 0;
  return static_cast<std::size_t>(std::clamp<std::uint64_t>(spare / 3, 1, MostBatchFiles));
}

std::uint64_t SizeOf(const std::string& path) {
  platform::FileStatus status;
  return platform::GetFileStatus(path, status) && status.size > 0
             ? static_cast<std::uint64_t>(status.size)
             : 0;
}

// A real copy, in batches: each batch's rows are planned in order, its copies written
// beside their targets and made durable together, then named in order, then their folders
// made durable; then its rows are reported.
class TBatchCopy {
 public:
  TBatchCopy(std::vector<TFileRow>& rows, std::vector<TRowPlan>& plans, TCopyRun& run, TCompanionFinder* companions,
             unsigned workers, const TRunEvents& events)
      : Rows_(rows),
        Plans_(plans),
        Run_(run),
        Companions_(companions),
        Workers_(workers),
        BatchFiles_(BatchFilesUnder(platform::OpenFileLimit(), workers)),
        Events_(events) {}
  void Run();
  TCopyReport Report() const { return {BytesDone_, Notices_}; }

 private:
  // Once per folder of the run: removes what copies ended by force left there.
  void RemoveAbandonedCopies(const platform::TargetFolder& folder);

  // Plans the rows of the batch that begins at `first` (making their folders) and returns
  // the end of the batch; the copies to make go to `copies`, each row's companions (when
  // there are) right after its own.
  std::size_t PlanBatch(std::size_t first, std::vector<TPendingCopy>& copies);
  // Names the batch's written copies in row order, makes their folders durable, and
  // reports the rows from `first` to `end`.
  void NameBatch(std::size_t first, std::size_t end, std::vector<TPendingCopy>& copies);

  std::vector<TFileRow>& Rows_;
  std::vector<TRowPlan>& Plans_;
  TCopyRun& Run_;
  TCompanionFinder* Companions_;
  unsigned Workers_;
  std::size_t BatchFiles_;
  const TRunEvents& Events_;
  std::set<std::string> Cleaned_;       // the folders whose leftovers were looked for
  std::vector<std::string> Notices_;
  std::uint64_t BytesDone_ = 0;
  std::uint64_t BytesTotal_ = 0;
};

void TBatchCopy::Run() {
  RefuseLinkedFolders(Plans_);
  for (std::size_t index = 0; index < Rows_.size(); ++index)
    if (Plans_[index].Action == TRowPlan::TAction::Act) BytesTotal_ += SizeOf(Rows_[index].FileName);
  for (std::size_t first = 0; first < Rows_.size() && !Events_.StopRequested();) {
    std::vector<TPendingCopy> copies;
    const std::size_t end = PlanBatch(first, copies);
    // Bytes are told as they are written, so that a large file shows its progress.
    TBytesWrittenEvent onWritten;
    if (Events_.OnCopyBytes)
      onWritten = [this](std::uint64_t written) { Events_.OnCopyBytes(BytesDone_ + written, BytesTotal_); };
    WriteAndSync(copies, Workers_, Events_.Stop, onWritten);
    // A stop names none of the batch's copies and reports none of its rows: the temporary
    // files go with the copies.
    if (Events_.StopRequested()) return;
    NameBatch(first, end, copies);
    first = end;
  }
}

std::size_t TBatchCopy::PlanBatch(std::size_t first, std::vector<TPendingCopy>& copies) {
  std::uint64_t batchBytes = 0;
  std::size_t end = first;
  std::map<std::string, std::shared_ptr<platform::TargetFolder>> folders;  // by path
  for (; end < Rows_.size() && copies.size() < BatchFiles_; ++end) {
    TFileRow& row = Rows_[end];
    const TRowPlan& plan = Plans_[end];
    // A file that would make the batch too large starts the next one: a large file is
    // copied on its own, and the rows before it are reported first.
    const std::uint64_t size = plan.Action == TRowPlan::TAction::Act ? SizeOf(row.FileName) : 0;
    if (!copies.empty() && batchBytes + size > BatchBytes) break;
    if (Events_.StopRequested()) break;
    row.Result = ResultIfNotDue(row, plan);
    if (row.Result.Kind != TRowKind::None) continue;
    TPendingCopy copy;
    copy.Row = end;
    copy.Mtime = plan.Mtime;
    row.NewFileName = plan.Target;
    // Copies into one folder share its descriptor: a batch holds few of them open.
    const std::string folderPath = RenameFolderOf(plan.Target);
    std::shared_ptr<platform::TargetFolder>& folder = folders[folderPath];
    // A row given up before its copy is written takes back the folders it made, and with
    // them the held folder, which no later row may write into then.
    const auto giveUp = [&](TRowResult result) {
      row.Result = std::move(result);
      if (!copy.MadeFolders.empty()) folders.erase(folderPath);
      RemoveMadeFolders(copy.MadeFolders);
    };
    if (!folder) {
      auto opened = std::make_shared<platform::TargetFolder>();
      row.Result = OpenRowFolder(plan, *opened, copy.MadeFolders, Events_);
      if (row.Result.Kind != TRowKind::None) {
        RemoveMadeFolders(copy.MadeFolders);
        continue;
      }
      folder = std::move(opened);
      RemoveAbandonedCopies(*folder);
    }
    copy.Folder = folder;
    copy.Planned = Run_.Plan(row.FileName, plan.Target);
    row.NewFileName = copy.Planned.Target;
    const bool sameBytesThere = SameBytesAtTarget(copy.Planned.Result);
    if (!copy.Planned.Result.Planned && !(sameBytesThere && Companions_)) {
      giveUp(copy.Planned.Result);
      continue;
    }
    std::vector<TPendingCopy> companionCopies;
    if (Companions_) {
      TCompanionCopies group = PlanCompanionCopies(Run_, *Companions_, row.FileName, copy.Planned);
      if (group.Result.Kind == TRowKind::Failed || (sameBytesThere && group.Copies.empty())) {
        giveUp(std::move(group.Result));
        continue;
      }
      copy.Planned.Result = std::move(group.Result);
      for (auto& [source, planned] : group.Copies) {
        TPendingCopy& companion = companionCopies.emplace_back();
        companion.Row = end;
        companion.Source = source;
        companion.Companion = true;
        companion.Planned = std::move(planned);
        companion.Folder = folder;
      }
    }
    copy.Source = row.FileName;
    if (sameBytesThere) {
      // Only the companions are copied; the row's skip waits for them to be named.
      companionCopies.front().OwnSkip = std::move(copy.Planned.Result);
      companionCopies.front().MadeFolders = std::move(copy.MadeFolders);
    } else {
      batchBytes += size;
      copies.push_back(std::move(copy));
    }
    for (TPendingCopy& companion : companionCopies) copies.push_back(std::move(companion));
  }
  return end;
}

void TBatchCopy::RemoveAbandonedCopies(const platform::TargetFolder& folder) {
  if (!Cleaned_.insert(folder.Path()).second) return;
  if (const std::size_t removed = platform::RemoveAbandonedCopies(folder); removed > 0)
    Notices_.push_back("removed " + std::to_string(removed) + (removed == 1 ? " temporary file" : " temporary files") +
                       " that an interrupted copy left in " + folder.Path());
}

void TBatchCopy::NameBatch(std::size_t first, std::size_t end, std::vector<TPendingCopy>& copies) {
  // The folder that each row's copy was named in.
  std::map<std::size_t, const platform::TargetFolder*> namedIn;
  for (std::size_t index = 0, next = 0; index < copies.size(); index = next) {
    for (next = index + 1; next < copies.size() && copies[next].Row == copies[index].Row;) ++next;
    TPendingCopy& copy = copies[index];
    TFileRow& row = Rows_[copy.Row];
    row.Result = NameCopyGroup(std::span(copies).subspan(index, next - index), row, Plans_[copy.Row], Run_);
    if (row.Result.Kind != TRowKind::Failed) {
      namedIn[copy.Row] = copy.Folder.get();
    } else {
      // The temporary files go first: a folder that holds one cannot be removed.
      for (std::size_t member = index; member < next; ++member) copies[member].Staged = {};
      RemoveMadeFolders(copy.MadeFolders);
    }
  }
  // A new name lasts through a power loss once its folder is durable.
  std::map<const platform::TargetFolder*, std::string> folderFailures;
  for (const auto& [row, folder] : namedIn) {
    if (folderFailures.contains(folder)) continue;
    if (const auto synced = folder->Sync(); !synced) folderFailures[folder] = synced.Message();
  }
  for (std::size_t index = first; index < end; ++index) {
    TFileRow& row = Rows_[index];
    if (const auto folder = namedIn.find(index); folder != namedIn.end())
      if (const auto failure = folderFailures.find(folder->second); failure != folderFailures.end())
        row.Result = rowresult::Failed(TRowReason::System, failure->second);
    if (row.Result.Kind == TRowKind::Done) {
      BytesDone_ += SizeOf(row.NewFileName);
      if (Events_.OnCopyBytes) Events_.OnCopyBytes(BytesDone_, BytesTotal_);
    }
    // Rows count once they are done: a batch is written before any of its rows is.
    Events_.ReportProgress(index, Rows_.size(), row.FileName);
    if (Events_.OnRowDone) Events_.OnRowDone(row);
  }
}

}  // namespace

TCopyReport CopyRows(std::vector<TFileRow>& rows, const std::string& folder, const TRunOptions& options, TRunMode mode,
              const TRunEvents& events) {
  const std::string targetFolder = CopyFolderOf(folder);
  std::vector<TRowPlan> plans;
  std::vector<std::string> sources;
  plans.reserve(rows.size());
  sources.reserve(rows.size());
  for (const TFileRow& row : rows) {
    plans.push_back(PlanRow(row, targetFolder, options.Plan, plans.size() + 1));
    sources.push_back(row.FileName);
  }
  TCopyRun run(sources, options.UniqueNames    ? TTakenName::Unique
                        : options.CopyReplaces ? TTakenName::Replace
                                               : TTakenName::Keep);
  TCompanionFinder finder;
  TCompanionFinder* companions = options.Companions ? &finder : nullptr;
  if (companions) SkipCompanionRows(rows, plans, finder);
  if (mode == TRunMode::Real) {
    TBatchCopy copy(rows, plans, run, companions, options.Workers, events);
    copy.Run();
    return copy.Report();
  }
  ApplyPlans(rows, plans, events, [&](TFileRow& row, const TRowPlan& plan) {
    TCopyOutcome outcome = run.Plan(row.FileName, plan.Target);
    if (companions && (outcome.Result.Planned || SameBytesAtTarget(outcome.Result))) {
      outcome.Result = PlanCompanionCopies(run, *companions, row.FileName, outcome).Result;
      // A skip that brings companions tells what a real run would copy.
      if (outcome.Result.Kind == TRowKind::Skipped) outcome.Result.Planned = !outcome.Result.Companions.empty();
    }
    row.NewFileName = std::move(outcome.Target);
    return outcome.Result;
  });
  return {};
}

