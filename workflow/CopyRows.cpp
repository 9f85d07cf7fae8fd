#include "workflow/CopyRows.h"

#include <map>
#include <set>
#include <span>

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"
#include "platform/TargetFolders.h"
#include "platform/Text.h"
#include "workflow/CompanionGroup.h"
#include "workflow/CopyBatch.h"
#include "workflow/CopyRun.h"
#include "workflow/ModificationTime.h"
#include "workflow/NewFileName.h"

namespace {

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
  if (own.Mtime) outcome.Result.MtimeNotSet = MtimeNotSetOf(row.NewFileName, *own.Mtime, own.MtimeError);
  return outcome.Result;
}

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

// A real copy, in batches: each batch's rows are planned in order, its copies written
// beside their targets and made durable together, then named in order, then their folders
// made durable; then its rows are reported.
class TBatchCopy {
 public:
  TBatchCopy(std::vector<TFileRow>& rows, std::vector<TRowPlan>& plans, TCopyRun& run, TCompanionFinder* companions,
             unsigned workers, const TRunEvents& events)
      : Rows_(rows), Plans_(plans), Run_(run), Companions_(companions), Workers_(workers), Events_(events) {}
  void Run();

 private:
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
  const TRunEvents& Events_;
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
    WriteAndSync(copies, Workers_, Events_.Stop);
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
  for (; end < Rows_.size() && copies.size() < BatchFiles; ++end) {
    TFileRow& row = Rows_[end];
    const TRowPlan& plan = Plans_[end];
    // A file that would make the batch too large starts the next one: a large file is
    // copied on its own, and the rows before it are reported first.
    const std::uint64_t size = plan.Action == TRowPlan::TAction::Act ? SizeOf(row.FileName) : 0;
    if (!copies.empty() && batchBytes + size > BatchBytes) break;
    Events_.ReportProgress(end, Rows_.size(), row.FileName);
    if (Events_.StopRequested()) break;
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
    copy.Planned = Run_.Plan(row.FileName, plan.Target);
    row.NewFileName = copy.Planned.Target;
    if (!copy.Planned.Result.Planned) {
      row.Result = copy.Planned.Result;
      RemoveMadeFolders(copy.MadeFolders);
      continue;
    }
    std::vector<TPendingCopy> companionCopies;
    if (Companions_) {
      TCompanionCopies group = PlanCompanionCopies(Run_, *Companions_, row.FileName, copy.Planned);
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

void TBatchCopy::NameBatch(std::size_t first, std::size_t end, std::vector<TPendingCopy>& copies) {
  std::set<std::string> folders;
  for (std::size_t index = 0, next = 0; index < copies.size(); index = next) {
    for (next = index + 1; next < copies.size() && copies[next].Companion;) ++next;
    TPendingCopy& copy = copies[index];
    TFileRow& row = Rows_[copy.Row];
    row.Result = NameCopyGroup(std::span(copies).subspan(index, next - index), row, Plans_[copy.Row].Target, Run_);
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
      BytesDone_ += SizeOf(row.NewFileName);
      if (Events_.OnCopyBytes) Events_.OnCopyBytes(BytesDone_, BytesTotal_);
    }
    if (Events_.OnRowDone) Events_.OnRowDone(row);
  }
}

}  // namespace

void CopyRows(std::vector<TFileRow>& rows, const std::string& folder, const TRunOptions& options, TRunMode mode,
              const TRunEvents& events) {
  const std::string targetFolder = CopyFolderOf(folder);
  std::vector<TRowPlan> plans;
  std::vector<std::string> sources;
  plans.reserve(rows.size());
  sources.reserve(rows.size());
  for (const TFileRow& row : rows) {
    plans.push_back(PlanRow(row, targetFolder, options.Plan));
    sources.push_back(row.FileName);
  }
  TCopyRun run(sources, options.UniqueNames    ? TTakenName::Unique
                        : options.CopyReplaces ? TTakenName::Replace
                                               : TTakenName::Keep);
  TCompanionFinder finder;
  TCompanionFinder* companions = options.Companions ? &finder : nullptr;
  if (companions) SkipCompanionRows(rows, plans, finder);
  if (mode == TRunMode::Real) {
    TBatchCopy(rows, plans, run, companions, options.Workers, events).Run();
    return;
  }
  ApplyPlans(rows, plans, events, [&](TFileRow& row, const TRowPlan& plan) {
    TCopyOutcome outcome = run.Plan(row.FileName, plan.Target);
    if (companions && outcome.Result.Planned)
      outcome.Result = PlanCompanionCopies(run, *companions, row.FileName, outcome).Result;
    row.NewFileName = std::move(outcome.Target);
    return outcome.Result;
  });
}

