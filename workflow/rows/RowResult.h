// What the last rename or copy did with a row: a kind and the reason behind it. The words
// that people read are made where rows are shown (RowResultText.h); nothing else needs them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class TRowKind { None, Done, Skipped, Failed };

enum class TRowReason {
  None,
  // done
  Renamed,
  MovedWithMedia,  // the file, a companion, was renamed with another row's media file; Detail names it
  Copied,
  CopiedReplacing,  // the copy replaced a file that was in the target folder
  // skipped
  AlreadyNamed,    // the file already carries its new name: nothing was left to do
  AlreadyCopied,   // the copy's target name holds the same bytes already: nothing was written
  NotFound,
  Folder,          // a folder given as a file
  NotRegularFile,  // a pipe, socket or device
  CannotRead,      // the file could not be opened or read; Detail holds why
  NoCreationTime,
  DateOutOfRange,  // the only date found lies outside the years 1 to 9999 that names hold
  NotUnderstood,   // the name options cannot read the creation time
  DateLooksUnset,  // skipped on request: the date comes from a clock nobody set
  MovesWithMedia,  // the file is a companion of another row's media file; Detail names it
  SameAs,          // an earlier file of the same copy wrote these bytes under the name; Detail names it
  // failed
  InvalidName,     // the creation time cannot stand as a file name
  SameFile,        // the copy's target is its own source
  WrittenEarlier,  // an earlier row of the same copy wrote the target
  OtherSource,     // the copy's target is the file of another row of the same copy
  FolderIsLink,    // a folder of the new name is a symbolic link (Detail names it)
  DifferentFile,   // the copy's target name holds other bytes, which are kept
  NameTaken,       // the rename's new name is held by another file; Detail names that file
  System,          // the file operation failed; Detail holds the system's message
  CompanionTaken,  // a companion's new name is taken, so nothing moved; Detail names it
  GroupSplit,      // a companion could not follow and not every file could go back; Detail says which moved
};

// Why a done row's file does not carry the modification time it was to take (SetMtime):
// the rename or copy stands all the same, and the row says so.
struct TMtimeNotSet {
  std::string Error;  // the system refused to set it: its message; empty for the case below
  // The system set it without an error, but the file system holds another time: one at the
  // end of its range (microseconds since 1970, UTC).
  std::int64_t Wanted = 0;
  std::int64_t Kept = 0;

  friend bool operator==(const TMtimeNotSet&, const TMtimeNotSet&) = default;
};

struct TRowResult {
  TRowKind Kind = TRowKind::None;
  TRowReason Reason = TRowReason::None;
  std::string Detail;  // the system's or the decoder's message, for the reasons that carry one
  bool Planned = false;  // a dry run's result: what a real run would do
  // The companions (names without folder) that were renamed or copied with the file.
  std::vector<std::string> Companions;
  std::optional<TMtimeNotSet> MtimeNotSet;  // for a done row only

  friend bool operator==(const TRowResult&, const TRowResult&) = default;
};

namespace rowresult {

inline TRowResult Done(TRowReason reason) { return {TRowKind::Done, reason, {}, false, {}, {}}; }
inline TRowResult Planned(TRowReason reason) { return {TRowKind::Done, reason, {}, true, {}, {}}; }
inline TRowResult Skipped(TRowReason reason, std::string detail = {}) {
  return {TRowKind::Skipped, reason, std::move(detail), false, {}, {}};
}
inline TRowResult Failed(TRowReason reason, std::string detail = {}) {
  return {TRowKind::Failed, reason, std::move(detail), false, {}, {}};
}

// True for the skips that mean the file itself could not be read: missing, a folder, not a
// regular file, or not readable. A run that meets one did not do all it was asked to.
inline bool IsUnreadable(const TRowResult& result) {
  return result.Kind == TRowKind::Skipped &&
         (result.Reason == TRowReason::NotFound || result.Reason == TRowReason::Folder ||
          result.Reason == TRowReason::NotRegularFile || result.Reason == TRowReason::CannotRead);
}

}  // namespace rowresult
