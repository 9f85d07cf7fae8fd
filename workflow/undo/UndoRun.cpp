#include "workflow/undo/UndoRun.h"

#include "platform/FileSystem.h"
#include "platform/TargetFolders.h"

namespace {

bool HasIdentity(const TJournalRecord& record) { return record.Device != 0 || record.Inode != 0; }

bool IsRecordedInode(const platform::FileStatus& status, const TJournalRecord& record) {
  return status.device == record.Device && status.inode == record.Inode;
}

bool HasRecordedContents(const platform::FileStatus& status, const TJournalRecord& record) {
  return !record.HasContents || (status.size == record.Size && status.modified == record.Modified);
}

std::string PutBack(const TJournalRecord& record) {
  const std::string& current = record.NewPath;
  const std::string& old = record.OldPath;
  platform::FileStatus status;
  if (!platform::GetFileStatus(current, status)) {
    platform::FileStatus oldStatus;
    const bool back = platform::GetFileStatus(old, oldStatus) && HasIdentity(record) &&
                      IsRecordedInode(oldStatus, record) && HasRecordedContents(oldStatus, record);
    return std::string(back ? undoresult::SkippedAlreadyBack : undoresult::SkippedMoved);
  }
  // A record without identity (it could not be read after the rename) trusts the name.
  if (HasIdentity(record)) {
    if (!IsRecordedInode(status, record)) return std::string(undoresult::SkippedReplaced);
    if (!HasRecordedContents(status, record)) return std::string(undoresult::SkippedChanged);
  }
  const auto moved = platform::MoveNoReplace(current, old);
  switch (moved.Kind()) {
    case platform::NoReplaceResult::Done: return std::string(undoresult::Restored);
    case platform::NoReplaceResult::TargetExists: return std::string(undoresult::SkippedOldNameTaken);
    case platform::NoReplaceResult::Failed: break;
  }
  return std::string(undoresult::FailedPrefix) + moved.Message();
}

}  // namespace

TUndoOutcome UndoRun(const TJournalRun& run, const std::string& journalPath) {
  TUndoOutcome outcome;
  // Last renamed first: a file that took a name another file of the run gave up must
  // leave it before that file can return to it.
  for (auto record = run.Records.rbegin(); record != run.Records.rend(); ++record) {
    TUndoRow row{record->NewPath, record->OldPath, PutBack(*record)};
    if (row.Result != undoresult::Restored) outcome.AllRestored = false;
    outcome.Rows.push_back(std::move(row));
  }
  // The folders made for new names go once they are empty again, innermost first.
  for (auto folder = run.MadeFolders.rbegin(); folder != run.MadeFolders.rend(); ++folder)
    platform::RemoveMadeFolder(*folder);
  if (const TResult marked = MarkRunUndone(journalPath, run.Id); !marked)
    outcome.MarkError = journalPath + ": " + marked.Message();
  return outcome;
}
