// The undo journal: every rename run that changed something leaves one record per renamed
// file (the run's id and time, the old and the new full path, and which file it was), so
// that the run can be put back later. One text file in the user's state folder, grown by
// whole lines; a run is marked undone by a further line.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Base/Result.h"
#include "platform/FileSystem.h"
#include "platform/TargetFolders.h"

// morvane/undo-journal in the user's state folder (platform::UserStateFolder:
// $XDG_STATE_HOME or $HOME/.local/state, %LOCALAPPDATA% on Windows); empty without one.
std::string DefaultJournalPath();

// What a journal failure is told after: "undo journal not written: " and the reason.
inline constexpr std::string_view JournalNotWritten = "undo journal not written: ";

// What to tell before a rename whose renames no journal will keep, because there is no
// folder for it (`journalPath` empty, as DefaultJournalPath gives it then): the undo
// journal's failure text, said before the files move so that nobody counts on an undo.
// Empty when there is a journal path.
std::string JournalMissingWarning(const std::string& journalPath);

struct TJournalRecord {
  std::string OldPath;
  std::string NewPath;
  // The renamed file's device and inode, to know it again; 0 when they could not be read.
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  // Its size and modification time after the rename: a file deleted since leaves its inode
  // free for another file, which these tell apart. Journals written before they were
  // recorded have none (HasContents false).
  bool HasContents = false;
  std::int64_t Size = 0;
  platform::FileTime Modified;
};

struct TJournalRun {
  std::string Id;
  std::string Time;  // when the run began, "YYYY-MM-DDTHH:MM:SSZ"
  std::vector<TJournalRecord> Records;  // in the order the files were renamed
  bool Undone = false;
  // Folders the run made for new names, in the order made; journals written before their
  // device and inode were kept have neither (0 and 0).
  std::vector<platform::MadeFolder> MadeFolders;
};

// Writes the records of one rename run. Writing never throws and never fails the rename it
// records: the first failure is kept for the caller to report once. Nothing is written
// (no file, no folder) until the first record.
class TJournalWriter {
 public:
  // `journalPath` as DefaultJournalPath gives it; an empty path fails at the first record.
  explicit TJournalWriter(std::string journalPath,
                          std::chrono::system_clock::time_point start = std::chrono::system_clock::now());

  const std::string& RunId() const { return Run_.Id; }
  const std::string& RunTime() const { return Run_.Time; }

  // Records that `oldPath` was renamed to `newPath` (which must already hold the file).
  void RecordRename(const std::string& oldPath, const std::string& newPath);
  // Records that the run made `folder` (a full path) for a new name, so that undo can
  // remove it again while it is that folder.
  void RecordFolder(const platform::MadeFolder& folder);
  // The message of the first failure, for one report ("undo journal not written: ...");
  // empty when nothing failed, and on every call after the first that returned it.
  std::string TakeFailure();

 private:
  // Appends one line; the first failure is kept and ends the journal's writing.
  void Append(const std::string& line);

  std::string Path_;
  TJournalRun Run_;
  bool FolderMade_ = false;
  bool Failed_ = false;
  std::string Failure_;
};

// Every run of the journal in the order of their first record. Lines that do not read as
// records (a last line cut short by a crash, damage in between) are left out. A missing
// journal is an empty one; a failure only when the journal cannot be read.
TResult ReadJournal(const std::string& journalPath, std::vector<TJournalRun>& runs);

// The last run not yet undone, or null.
const TJournalRun* MostRecentRunToUndo(const std::vector<TJournalRun>& runs);
// The run with this id, or null.
const TJournalRun* FindRun(const std::vector<TJournalRun>& runs, const std::string& id);

// Appends the line that marks the run undone.
TResult MarkRunUndone(const std::string& journalPath, const std::string& runId);

// The run's file count: "1 file", "3 files".
std::string RunFileCount(const TJournalRun& run);

// One line of `undo --list`: id, time, file count ("1 file", "3 files") and "undone" or
// "not undone", separated by tabs.
std::string RunListLine(const TJournalRun& run);
