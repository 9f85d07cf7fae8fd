// Putting a journalled rename run back: each file goes back to its old name with the
// no-replace move, last renamed first, so that nothing that took an old name since is
// overwritten; a file that is no longer where the run left it is skipped with a reason.
// The folders the run made for new names are removed when they are empty again.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "workflow/undo/UndoJournal.h"

namespace undoresult {

inline constexpr std::string_view Restored = "restored";
inline constexpr std::string_view SkippedMoved = "skipped: moved or renamed since";
inline constexpr std::string_view SkippedAlreadyBack = "skipped: already back at its old name";
inline constexpr std::string_view SkippedReplaced = "skipped: another file has taken its new name";
// The same device and inode, but another size or modification time: the renamed file was
// written to since, or deleted and its inode given to another file.
inline constexpr std::string_view SkippedChanged = "skipped: changed since";
inline constexpr std::string_view SkippedOldNameTaken = "skipped: its old name is taken";
// Followed by the system's message.
inline constexpr std::string_view FailedPrefix = "failed: ";

}  // namespace undoresult

struct TUndoRow {
  std::string CurrentPath;  // where the run left the file
  std::string OldPath;      // where it goes back to
  std::string Result;       // one of undoresult
};

struct TUndoOutcome {
  std::vector<TUndoRow> Rows;  // in the order the files were handled (last renamed first)
  bool AllRestored = true;     // every file went back: exit 0
  std::string MarkError;       // set when the run could not be marked undone
};

// Puts the files of `run` back and then marks the run undone in the journal at
// `journalPath`, also when some file was skipped (those stay as they are).
TUndoOutcome UndoRun(const TJournalRun& run, const std::string& journalPath);
