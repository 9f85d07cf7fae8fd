// The file list following its files across a rename and its undo.
#include "platform/FileSystem.h"
#include "workflow/RenamingWorkflow.h"

void TRenamingWorkflow::FollowRenamedFiles() {
  for (TFileRow& row : Rows_) {
    const bool renamed = row.Result.Kind == TRowKind::Done && !row.Result.Planned &&
                         (row.Result.Reason == TRowReason::Renamed || row.Result.Reason == TRowReason::MovedWithMedia);
    if (renamed) row.FileName = row.NewFileName;
  }
}

void TRenamingWorkflow::FollowUndoneFiles(const std::vector<TUndoRow>& undone) {
  for (TFileRow& row : Rows_) {
    const std::string where = platform::ExpandFileName(row.FileName);
    for (const TUndoRow& back : undone) {
      if (back.Result == undoresult::Restored && back.CurrentPath == where) {
        row.FileName = back.OldPath;
        break;
      }
    }
    row.NewFileName.clear();
    row.Result = {};
  }
}
