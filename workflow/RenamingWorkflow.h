// The renaming workflow: the list of picked files, the creation time of each file read from
// the decoder's information text, and the rename in place or the copy into a folder under
// that creation time. Toolkit-free; the window and morvane-cli drive it.
#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "workflow/lookup/CreationTimeLookup.h"
#include "workflow/rows/FileRow.h"
#include "workflow/lookup/LineBuffer.h"
#include "workflow/run/CopyRows.h"
#include "workflow/rows/RowEvents.h"
#include "workflow/run/RenameRows.h"
#include "workflow/run/RowRun.h"
#include "workflow/options/RunOptions.h"
#include "workflow/undo/UndoRun.h"

class TCustomDecoder;

class TRenamingWorkflow {
 public:
  // The decoder and the line buffer are used, not owned; both must outlive the workflow.
  TRenamingWorkflow(TCustomDecoder& decoder, ILineBuffer& lines);
  TRenamingWorkflow(const TRenamingWorkflow&) = delete;
  TRenamingWorkflow& operator=(const TRenamingWorkflow&) = delete;

  // The settings of the runs that follow, all at once (RunOptions.h).
  void SetOptions(TRunOptions options) { Options_ = std::move(options); }
  const TRunOptions& Options() const { return Options_; }

  // Replaces all rows by one row per name, in the given order, each with its creation time.
  void SelectFiles(const std::vector<std::string>& fileNames);
  // Appends a row, as SelectFiles makes it, for each name not listed yet, in the given order;
  // a name listed already (or given twice) keeps its one row where it is. Returns how many
  // names were new: the rows it adds, unless a stop ends the read early.
  std::size_t AddFiles(const std::vector<std::string>& fileNames);
  // Removes all rows.
  void ClearFiles() { Rows_.clear(); }
  // The raw value behind the container-level creation_time entry (it may begin with a
  // blank), or empty. Leaves the processed information text in the line buffer (with
  // HeaderFirst, when the header gave the creation time, the buffer stays empty).
  std::string GetCreationTime(const std::string& fileName);
  // The row that SelectFiles makes for one name.
  TFileRow LookUpRow(const std::string& fileName);
  // Moves each row's file to its creation-time name in its own folder, never replacing a file.
  void RenameFiles(TRunMode mode = TRunMode::Real);
  // Copies each row's file into `folder` (not empty) under its creation-time name.
  void CopyFiles(const std::string& folder, TRunMode mode = TRunMode::Real);

  // The name a rename of the row would give; empty when the rename would skip or refuse it.
  std::string PlannedRenameName(const TFileRow& row) const;
  // PlannedRenameName of every row, except that a row whose file is a companion of another
  // row's file (with companions on) shows the name it takes with that file.
  std::vector<std::string> PlannedRenameNames() const;

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

  // Why the last rename run's journal was not written ("undo journal not written: ..."),
  // or empty.
  const std::string& JournalFailure() const { return LastRename_.JournalFailure; }
  // What the last copy run has to tell beside its rows (leftovers of interrupted copies
  // that it removed), one line each.
  const std::vector<std::string>& CopyNotices() const { return LastCopy_.Notices; }
  // The bytes of the last copy run's copies that took their names.
  std::uint64_t CopiedBytes() const { return LastCopy_.BytesCopied; }
  // The id of the journal run that the last real rename wrote, or empty when it renamed
  // nothing or kept no journal.
  const std::string& LastJournalRunId() const { return LastRename_.JournalRunId; }

  // A list that stays open between runs follows its files, so that the next run over it
  // acts on the files where they are now: each row that the last real rename renamed takes
  // its new name as its file name (its result stays), and each row whose file an undo put
  // back (`undone`, as UndoRun gives them) takes its old name again (results are cleared).
  void FollowRenamedFiles();
  void FollowUndoneFiles(const std::vector<TUndoRow>& undone);

  const std::vector<TFileRow>& Rows() const { return Rows_; }
  TProgressEvent OnProgress;
  TRowDoneEvent OnRowDone;
  // Called by SelectFiles and AddFiles with each row as it is read, in row order, on the
  // calling thread.
  TRowDoneEvent OnRowRead;
  TCopyBytesEvent OnCopyBytes;
  TFolderHeldEvent OnFolderHeld;
  TFileMovedEvent OnFileMoved;

  // After SelectFiles or AddFiles: why fewer worker threads ran than were asked for, or empty.
  const std::string& WorkerShortfall() const { return WorkerShortfall_; }

 private:
  // The workflow's own lookup, set to the options' lookup.
  TCreationTimeLookup& Lookup();
  // Appends one row per name, each with its creation time.
  void ReadRows(const std::vector<std::string>& fileNames);
  TRunEvents Events() const { return {OnProgress, OnRowDone, OnCopyBytes, Stop_, OnFolderHeld, OnFileMoved}; }

  TCreationTimeLookup Lookup_;
  TRunOptions Options_;
  std::vector<TFileRow> Rows_;
  std::string WorkerShortfall_;
  const std::atomic<bool>* Stop_ = nullptr;
  TRenameOutcome LastRename_;
  TCopyReport LastCopy_;
};
