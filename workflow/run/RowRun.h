// What rename and copy runs share: the events they report to, the stop they look at, and
// the walk over the rows with their plans.
#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/TargetFolders.h"
#include "workflow/rows/FileRow.h"
#include "workflow/rows/RowEvents.h"
#include "workflow/naming/RowPlan.h"

class TCompanionFinder;

struct TRunEvents {
  TProgressEvent OnProgress;
  TRowDoneEvent OnRowDone;
  TCopyBytesEvent OnCopyBytes;
  // Once it turns true, a run finishes no further row. Null: the run is not stopped.
  const std::atomic<bool>* Stop = nullptr;
  TFolderHeldEvent OnFolderHeld;
  TFileMovedEvent OnFileMoved;

  bool StopRequested() const { return Stop && Stop->load(); }
  void ReportProgress(std::size_t index, std::size_t count, const std::string& fileName) const {
    if (OnProgress) OnProgress(index, count, fileName);
  }
};

// Opens the folder of the plan's new name, making the folders that the name puts below
// the plan's folder (none for most names), and tells `events` that it is held. Kind None
// when it is open; otherwise the row's failure (FolderIsLink naming the link).
TRowResult OpenRowFolder(const TRowPlan& plan, platform::TargetFolder& folder, std::vector<platform::MadeFolder>& made,
                         const TRunEvents& events);
// Just before a name is given in `folder`: kind None when it is still where the run
// opened it, else the row's failure (FolderIsLink when a level was swapped for a link).
TRowResult RecheckRowFolder(const platform::TargetFolder& folder);
// A row that did not end in its new name leaves no folder it made.
void RemoveMadeFolders(const std::vector<platform::MadeFolder>& made);
// Checked before any row is done, and again as each folder is made (see MakeFoldersBelow):
// a new name whose folders pass through a symbolic link could lead out of its folder.
void RefuseLinkedFolders(std::vector<TRowPlan>& plans);
// The row's result when nothing is due at its turn: its file is gone (an earlier row of the
// same run may have moved it), or its plan skips or refuses it. Kind None when it is due.
TRowResult ResultIfNotDue(const TFileRow& row, const TRowPlan& plan);
// Skips the rows whose files go with another due row's media file as its companions.
void SkipCompanionRows(const std::vector<TFileRow>& rows, std::vector<TRowPlan>& plans, TCompanionFinder& finder);

// The file operation of one row that is due: returns the row's result. The row's new name
// is the planned target; an operation that chose another name sets it.
using TRowOperation = std::function<TRowResult(TFileRow& row, const TRowPlan& plan)>;
// Does each row in order (`plans` holds one plan per row) and reports it once done. A plan
// whose new name would lead through a symbolic link is refused first, before any row is
// done. With the plan's Mtime, a file that was renamed or copied takes it as its
// modification time; a time it did not take is noted in its done row (see ModificationTime.h).
void ApplyPlans(std::vector<TFileRow>& rows, std::vector<TRowPlan>& plans, const TRunEvents& events,
                const TRowOperation& operation);
