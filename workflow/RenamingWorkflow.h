// The renaming workflow: the list of picked files, the creation time of each file read from
// the decoder's information text, and the rename in place or the copy into a folder under
// that creation time. Toolkit-free; the window and morvane-cli drive it.
#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "workflow/FileDate.h"
#include "workflow/LineBuffer.h"
#include "workflow/LookupPath.h"
#include "workflow/RowPlan.h"
#include "workflow/RowResult.h"

class TCustomDecoder;

struct TFileRow {
  std::string FileName;      // as picked; never changed, also not by a rename
  std::string CreationTime;  // trimmed; empty when none was found
  std::string NewFileName;   // the target of the last rename or copy that reached the row
  TRowResult Result;         // kind None until a rename or copy ran
  TRowResult ReadProblem;    // kind None when the file could be read when it was picked
  // Where the creation time came from ("container metadata", or the EXIF fields of a photo)
  // and the text it was read from, as stored; both empty when there is none.
  std::string CreationTimeSource;
  std::string CreationTimeRaw;
  // The creation time comes from a clock nobody set (before 1990, a clock's starting point,
  // or far in the future): worth a warning, and skipped when the run asks for it.
  bool DateLooksUnset = false;
  // Every date found for the file, the one used among them, in the lookup's order.
  std::vector<TFileDate> Dates;
  // The offset from UTC that the recording device wrote beside its own date (a phone's
  // creation date, a photo's EXIF offset), when it wrote one.
  std::optional<int> RecordedOffsetSeconds;
};

// A real run changes files; a dry run plans every row with the same checks, reports what a
// real run would do ("would rename") and changes nothing on disk.
enum class TRunMode { Real, DryRun };

// Called before each row is handled: index from 0, number of rows, the row's file name.
using TProgressEvent = std::function<void(std::size_t index, std::size_t count, const std::string& fileName)>;
// Called once a rename or copy has finished with a row, in row order.
using TRowDoneEvent = std::function<void(const TFileRow& row)>;

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

  // Loads the media libraries from "LibAV" beside the executable (then the system's search)
  // unless they are loaded. Each lookup does this itself; a failed load is retried next time.
  // When the executable's folder is unknown, the system's search alone is used.
  bool EnsureLibraries();
  bool LibrariesLoaded() const;
  // The loader's message of the last failed load; empty when none failed.
  const std::string& LibraryError() const { return LibraryError_; }

  // Once `stop` turns true (a signal handler may set it), a run finishes no further row:
  // a copy in progress is abandoned and leaves no partial file. Null: runs are not stopped.
  void SetStopFlag(const std::atomic<bool>* stop) { Stop_ = stop; }
  bool StopRequested() const { return Stop_ && Stop_->load(); }

  // With unique names on, a rename or copy whose target exists, or was written by an earlier
  // row of the run, takes the target with "_1", "_2", ... before its extension, the first
  // free one; the no-replace move or copy decides, so nothing is ever replaced. Off: rows
  // behave as without it (a rename fails on an existing target, a copy replaces it).
  void SetUniqueNames(bool unique) { UniqueNames_ = unique; }
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

  const std::vector<TFileRow>& Rows() const { return Rows_; }
  TProgressEvent OnProgress;
  TRowDoneEvent OnRowDone;

  // How lookups read the creation time; the window keeps the full lookup, whose text its
  // log view shows.
  TLookupPath LookupPath = TLookupPath::FullProbe;
  // Above 1, SelectFiles looks files up on that many worker threads, each with a decoder
  // and a line buffer of its own, and the rows still come in the given order. The
  // workflow's own decoder and line buffer are then left alone.
  unsigned Workers = 1;
  // The dates a lookup falls back on when the file's metadata holds none; with ListAll
  // every source is read, so that a row lists every date the file holds.
  TDateFallbacks DateFallbacks;

 private:
  // The file operation of one row that is due: returns the row's result. The row's new
  // name is the planned target; an operation that chose another name sets it.
  using TRowOperation = std::function<TRowResult(TFileRow& row, const std::string& target)>;
  // `plans` holds one plan per row.
  void ApplyPlans(const std::vector<TRowPlan>& plans, const TRowOperation& operation);
  // Skips the rows whose files go with another due row's media file as its companions.
  void SkipCompanionRows(std::vector<TRowPlan>& plans) const;
  // The creation time of `fileName` into `creationTime`; the result says why the file
  // could not be read (kind None when it could).
  // `containerDates` receives the container's other dates (ContainerDates).
  TRowResult LookUp(const std::string& fileName, std::string& creationTime, std::vector<TFileDate>& containerDates);
  void ReportProgress(std::size_t index, std::size_t count, const std::string& fileName) const;

  TCustomDecoder& Decoder_;
  ILineBuffer& Lines_;
  std::vector<TFileRow> Rows_;
  std::string LibraryError_;
  const std::atomic<bool>* Stop_ = nullptr;
  bool UniqueNames_ = false;
  bool Companions_ = true;
  bool JournalKept_ = false;
  std::string JournalPath_;
  std::string JournalFailure_;
  TPlanOptions PlanOptions_;
};
