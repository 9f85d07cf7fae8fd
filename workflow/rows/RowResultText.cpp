#include "workflow/rows/RowResultText.h"

#include "workflow/dates/CreationTime.h"
#include "workflow/dates/UnsetDate.h"

namespace {

std::string MtimeNotSetReason(const TMtimeNotSet& note) {
  if (!note.Error.empty()) return note.Error;
  const std::string kept = FormatIsoCreationTime(UtcTimeOf(TInstant{std::chrono::microseconds{note.Kept}}));
  return "the file system holds " + kept + (note.Kept < note.Wanted ? " at most" : " at the earliest");
}

// " (with A, B)", or " (OPENING A, B)": the companions that went with the file.
std::string CompanionsText(const TRowResult& result, const std::string& opening) {
  std::string text;
  for (std::size_t index = 0; index < result.Companions.size(); ++index)
    text += (index ? ", " : " (" + opening + " ") + result.Companions[index];
  return result.Companions.empty() ? text : text + ")";
}

}  // namespace

std::string RowReasonText(const TRowResult& result) {
  switch (result.Reason) {
    case TRowReason::None: return {};
    case TRowReason::Renamed: return result.Planned ? "would rename" : "renamed";
    case TRowReason::MovedWithMedia: return "moved with " + result.Detail;
    case TRowReason::Copied: return result.Planned ? "would copy" : "copied";
    case TRowReason::CopiedReplacing:
      return result.Planned ? "would copy (replacing an existing file)" : "copied (replaced an existing file)";
    case TRowReason::AlreadyNamed: return "already named";
    case TRowReason::AlreadyCopied: return "already copied";
    case TRowReason::NotFound: return "file not found";
    // A folder is no regular file either; saying which one tells how to take its files.
    case TRowReason::Folder: return "not a regular file (a folder)";
    case TRowReason::NotRegularFile: return "not a regular file";
    case TRowReason::CannotRead: return "cannot read: " + result.Detail;
    case TRowReason::NoCreationTime: return "no creation time";
    case TRowReason::DateOutOfRange: return "date out of range";
    case TRowReason::NotUnderstood: return "creation time not understood";
    case TRowReason::DateLooksUnset: return "date looks unset";
    case TRowReason::MovesWithMedia: return "moves with " + result.Detail;
    case TRowReason::SameAs: return "same as " + result.Detail;
    case TRowReason::InvalidName: return "creation time is not a valid file name";
    case TRowReason::SameFile: return "source and target are the same file";
    case TRowReason::WrittenEarlier: return "target was written by an earlier file of this copy";
    case TRowReason::OtherSource: return "target is another file of this copy";
    case TRowReason::FolderIsLink: return "folder is a symbolic link: " + result.Detail;
    case TRowReason::DifferentFile: return "a different file has that name";
    case TRowReason::NameTaken: return "name taken by " + result.Detail;
    case TRowReason::System: return result.Detail;
    case TRowReason::CompanionTaken: return "new name of a companion is taken: " + result.Detail;
    case TRowReason::GroupSplit: return result.Detail;
  }
  return {};
}

std::string RowResultText(const TRowResult& result) {
  switch (result.Kind) {
    case TRowKind::None: return {};
    case TRowKind::Done: {
      std::string text = RowReasonText(result) + CompanionsText(result, "with");
      if (result.MtimeNotSet) text += " (modification time not set: " + MtimeNotSetReason(*result.MtimeNotSet) + ")";
      return text;
    }
    // A file whose bytes were at the target already may still bring its companions.
    case TRowKind::Skipped:
      return "skipped: " + RowReasonText(result) +
             CompanionsText(result, result.Planned ? "would copy its companions" : "copied its companions");
    case TRowKind::Failed: return "failed: " + RowReasonText(result);
  }
  return {};
}

std::string RowResultText(const TRowResult& result, bool dateLooksUnset) {
  std::string text = RowResultText(result);
  if (dateLooksUnset && result.Kind == TRowKind::Done) text += DateLooksUnsetNote;
  return text;
}
