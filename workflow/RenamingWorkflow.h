// The renaming workflow: the list of picked files, the creation time of each file read from
// the decoder's information text, and the rename in place or the copy into a folder under
// that creation time. Toolkit-free; the window and morvane-cli drive it.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "workflow/CreationTimeLookup.h"
#include "workflow/FileRow.h"
#include "workflow/LineBuffer.h"
#include "workflow/LookupOptions.h"
#include "workflow/RowEvents.h"
#include "workflow/RowPlan.h"
#include "workflow/RowResult.h"
#include "workflow/UndoRun.h"

class TCustomDecoder;
class TCompanionFinder;
class TCopyRun;
struct TPendingCopy;

// A real run changes files; a dry run plans every row with the same checks, reports what a
// real run would do ("would rename") and changes nothing on disk.
enum class TRunMode { Real, DryRun };

class TRenamingWorkflow {
 public:
  // The decoder and the line buffer are used, not owned; both must outlive the workflow.
  TRenamingWorkflow(TCustomDecoder& decoder, ILineBuffer& lines);
  TRenamingWorkflow(const TRenamingWorkflow&) = delete;
  TRenamingWorkflow& operator=(const TRenamingWorkflow&) = delete;

  // Replaces all rows by one row per name, in the given order, each with its creation time.
  void SelectFiles(const std::vector<std::string>& fileNames);
  // The raw value behind the container-level creation_time entry (it may begin with a
  // blank), or empty. Leaves the processed information text in the line buffer (with
  // HeaderFirst: the processed metadata block when the header gave the creation time).
  std::string GetCreationTime(const std::string& fileName);
  // The row that SelectFiles makes for one name.
  TFileRow LookUpRow(const std::string& fileName);
  // Moves each row's file to its creation-time name in its own folder, never replacing a file.
  void RenameFiles(TRunMode mode = TRunMode::Real);
  // Copies each row's file into `folder` (not empty) under its creation-time name.
  void CopyFiles(const std::string& folder, TRunMode mode = TRunMode::Real);

  // The name a rename of the row would give; empty when the rename would skip or refuse it.
  std::string PlannedRenameName(const TFileRow& row) const;

  // Loads the media libraries (DefaultLibraryFolder, then the system's search)
  // unless they are loaded. Each lookup does this itself; a failed load is retried next time.
  // When the executable's folder is unknown, the system's search alone is used.
  bool EnsureLibraries();
  bool LibrariesLoaded() const;
  // The loader's message of the last failed load; empty when none failed.
  const std::string& LibraryError() const { return Lookup_.LibraryError(); }

  // Once `stop` turns true (a signal handler may set it), a run finishes no further row:
  // a copy in progress is abandoned and leaves no partial file. Null: runs are not stopped.
  // The decoder's reads look at the same flag, so that a lookup under way ends at once.
  void SetStopFlag(const std::atomic<bool>* stop);
  bool StopRequested() const { return Stop_ && Stop_->load(); }

  // With unique names on, a rename or copy whose target exists, or was written by an earlier
  // row of the run, takes the target with "_1", "_2", ... before its extension, the first
  // free one; the no-replace move or copy decides, so nothing is ever replaced. Off: a
  // rename fails on an existing target, and a copy does what SetCopyReplaces says.
  void SetUniqueNames(bool unique) { UniqueNames_ = unique; }
  // A copy whose target name holds the same bytes is skipped in every case. One whose target
  // holds a different file fails and keeps that file, unless unique names are on, or unless
  // replacing is asked for here: then it replaces that file.
  void SetCopyReplaces(bool replace) { CopyReplaces_ = replace; }
  // On (the default), a rename or copy takes each file's companions (sidecars, a Live
  // Photo's clip; see Companions.h) along under the same new base name, all or none of
  // them with the file: when a companion's new name is taken, the row fails and nothing
  // moves. A row whose file is a companion of another row's file that is due goes with
  // it and is skipped itself. Renamed companions enter the undo journal.
  void SetCompanions(bool on) { Companions_ = on; }
  // How new names are made from the creation times (pattern and zones) and whether rows
  // whose date looks unset are skipped. The defaults keep the stored creation time as name.
  void SetPlanOptions(TPlanOptions options) { PlanOptions_ = std::move(options); }

  // With a journal kept, every real rename run that renames at least one file appends its
  // renamed rows (old and new full path) to the undo journal at `journalPath` (as
  // DefaultJournalPath gives it). The journal never stops or fails a rename; a run whose
  // journal could not be written leaves its message for JournalFailure.
  void KeepJournal(std::string journalPath) {
    JournalKept_ = true;
    JournalPath_ = std::move(journalPath);
  }
  // Why the last rename run's journal was not written ("undo journal not written: ..."),
  // or empty.
  const std::string& JournalFailure() const { return JournalFailure_; }

  // The id of the journal run that the last real rename wrote, or empty when it renamed
  // nothing or kept no journal.
  const std::string& LastJournalRunId() const { return LastJournalRunId_; }

  // A list that stays open between runs follows its files, so that the next run over it
  // acts on the files where they are now: each row that the last real rename renamed takes
  // its new name as its file name (its result stays), and each row whose file an undo put
  // back (`undone`, as UndoRun gives them) takes its old name again (results are cleared).
  void FollowRenamedFiles();
  void FollowUndoneFiles(const std::vector<TUndoRow>& undone);

  const std::vector<TFileRow>& Rows() const { return Rows_; }
  TProgressEvent OnProgress;
  TRowDoneEvent OnRowDone;
  // Called by SelectFiles with each row as it is read, in row order, on the calling thread.
  TRowDoneEvent OnRowRead;
  TCopyBytesEvent OnCopyBytes;

  // How lookups read the creation time; the window keeps the full lookup, whose text its
  // log view shows.
  TLookupPath LookupPath = TLookupPath::FullProbe;
  // Above 1, SelectFiles looks files up on that many worker threads (a single file too),
  // each with a decoder and a line buffer of its own, and the rows still come in the given
  // order. The
  // workflow's own decoder and line buffer are then left alone. A copy writes that many
  // files at once.
  unsigned Workers = 1;
  // The dates a lookup falls back on when the file's metadata holds none; with ListAll
  // every source is read, so that a row lists every date the file holds.
  TDateFallbacks DateFallbacks;
  // After SelectFiles: why fewer worker threads ran than were asked for, or empty.
  const std::string& WorkerShortfall() const { return WorkerShortfall_; }

 private:
  // The file operation of one row that is due: returns the row's result. The row's new
  // name is the planned target; an operation that chose another name sets it.
  using TRowOperation = std::function<TRowResult(TFileRow& row, const TRowPlan& plan)>;
  // `plans` holds one plan per row. A plan whose new name would lead through a symbolic
  // link is refused first, before any row is done.
  void ApplyPlans(std::vector<TRowPlan>& plans, const TRowOperation& operation);
  // A real copy, in batches: each batch's rows are planned in order, its copies written
  // beside their targets and made durable together, then named in order, then their
  // folders made durable; then its rows are reported.
  void CopyInBatches(std::vector<TRowPlan>& plans, TCopyRun& run, TCompanionFinder* companions);
  // Skips the rows whose files go with another due row's media file as its companions.
  void SkipCompanionRows(std::vector<TRowPlan>& plans, TCompanionFinder& finder) const;
  struct TCopyBytes {
    std::uint64_t Done = 0;
    std::uint64_t Total = 0;
  };
  // Plans the rows of the batch that begins at `first` (making their folders) and returns
  // the end of the batch; the copies to make go to `copies`, each row's companions (when
  // `companions` is given) right after its own.
  std::size_t PlanCopyBatch(std::size_t first, const std::vector<TRowPlan>& plans, TCopyRun& run,
                            TCompanionFinder* companions, std::vector<TPendingCopy>& copies);
  // Names the batch's written copies in row order, makes their folders durable, and
  // reports the rows from `first` to `end`.
  void NameCopyBatch(std::size_t first, std::size_t end, const std::vector<TRowPlan>& plans, TCopyRun& run,
                     std::vector<TPendingCopy>& copies, TCopyBytes& bytes);
  // The workflow's own lookup, set to LookupPath.
  TCreationTimeLookup& Lookup();
  void ReportProgress(std::size_t index, std::size_t count, const std::string& fileName) const;

  TCreationTimeLookup Lookup_;
  std::vector<TFileRow> Rows_;
  std::string WorkerShortfall_;
  const std::atomic<bool>* Stop_ = nullptr;
  bool UniqueNames_ = false;
  bool CopyReplaces_ = false;
  bool Companions_ = true;
  bool JournalKept_ = false;
  std::string JournalPath_;
  std::string JournalFailure_;
  std::string LastJournalRunId_;
  TPlanOptions PlanOptions_;
};
