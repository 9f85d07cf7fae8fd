#include "workflow/CopyRun.h"

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "workflow/SameContents.h"
#include "workflow/UniqueName.h"

namespace {

// The target of a row whose name is taken and that neither numbers nor replaces.
TRowResult TakenNameResult(bool folder) {
  return folder ? rowresult::Failed(TRowReason::System, platform::ErrorText(EISDIR))
                : rowresult::Failed(TRowReason::DifferentFile);
}

}  // namespace

TCopyRun::TCopyRun(const std::vector<std::string>& sources, TTakenName takenName) : TakenName_(takenName) {
  for (const std::string& source : sources) {
    platform::FileStatus status;
    if (platform::GetFileStatus(platform::NarrowToWide(source), status)) Sources_.insert({status.device, status.inode});
  }
}

TRowResult TCopyRun::Refusal(const std::string& source, const std::string& target) const {
  if (PlannedTargets_.contains(target)) return rowresult::Failed(TRowReason::WrittenEarlier);
  platform::FileStatus targetStatus;
  if (!platform::GetFileStatus(platform::NarrowToWide(target), targetStatus)) return {};
  const TFileId targetId{targetStatus.device, targetStatus.inode};
  platform::FileStatus sourceStatus;
  if (platform::GetFileStatus(platform::NarrowToWide(source), sourceStatus) &&
      TFileId{sourceStatus.device, sourceStatus.inode} == targetId)
    return rowresult::Failed(TRowReason::SameFile);
  if (Written_.contains(targetId)) return rowresult::Failed(TRowReason::WrittenEarlier);
  if (Sources_.contains(targetId)) return rowresult::Failed(TRowReason::OtherSource);
  return {};
}

TCopyRun::TNameState TCopyRun::StateOf(const std::string& source, const std::string& candidate, bool dryRun) const {
  if (dryRun) {
    if (const auto planned = PlannedTargets_.find(candidate); planned != PlannedTargets_.end())
      return HoldSameBytes(source, planned->second) ? TNameState::SameBytes : TNameState::OtherFile;
  }
  platform::FileStatus status;
  if (!platform::GetFileStatus(platform::NarrowToWide(candidate), status)) return TNameState::Free;
  if (status.isDirectory) return TNameState::Folder;
  return HoldSameBytes(source, candidate) ? TNameState::SameBytes : TNameState::OtherFile;
}

TCopyOutcome TCopyRun::Place(const std::string& source, const std::string& target, bool dryRun,
                             const std::atomic<bool>* stop) {
  // Numbered names never meet a source or an earlier copy; the other ways guard both.
  if (TakenName_ != TTakenName::Unique) {
    if (TRowResult refusal = Refusal(source, target); refusal.Kind != TRowKind::None) return {refusal, target};
  }
  // A copy that was made (or planned) is remembered, so that no later row replaces it.
  const auto done = [&](TRowReason reason, const std::string& candidate) -> TCopyOutcome {
    if (dryRun) {
      PlannedTargets_[candidate] = source;
      return {rowresult::Planned(reason), candidate};
    }
    platform::FileStatus written;
    if (platform::GetFileStatus(platform::NarrowToWide(candidate), written)) Written_.insert({written.device, written.inode});
    return {rowresult::Done(reason), candidate};
  };
  const unsigned lastNumber = TakenName_ == TTakenName::Unique ? MaxUniqueNumber : 0;
  for (unsigned number = 0; number <= lastNumber; ++number) {
    const std::string candidate = number == 0 ? target : NumberedName(target, number);
    // A name taken by another process between the look and the copy is looked at again.
    for (int look = 0; look < 2; ++look) {
      const TNameState state = StateOf(source, candidate, dryRun);
      if (state == TNameState::SameBytes) return {rowresult::Skipped(TRowReason::AlreadyCopied), candidate};
      if (state != TNameState::Free) {
        if (TakenName_ == TTakenName::Unique) break;
        if (TakenName_ == TTakenName::Keep || state == TNameState::Folder)
          return {TakenNameResult(state == TNameState::Folder), candidate};
        std::string error;
        if (!dryRun && !platform::CopyFileReplacing(platform::NarrowToWide(source), platform::NarrowToWide(candidate),
                                                    error, stop))
          return {rowresult::Failed(TRowReason::System, error), candidate};
        return done(TRowReason::CopiedReplacing, candidate);
      }
      if (dryRun) return done(TRowReason::Copied, candidate);
      std::string error;
      switch (platform::CopyNoReplace(platform::NarrowToWide(source), platform::NarrowToWide(candidate), error, stop)) {
        case platform::NoReplaceResult::Done:
          return done(TRowReason::Copied, candidate);
        case platform::NoReplaceResult::Failed:
          return {rowresult::Failed(TRowReason::System, error), candidate};
        case platform::NoReplaceResult::TargetExists:
          if (look == 1) return {rowresult::Failed(TRowReason::System, error), candidate};
          break;
      }
    }
  }
  return {rowresult::Failed(TRowReason::System, std::string(NoFreeNumberedName)), target};
}

TCopyOutcome TCopyRun::Copy(const std::string& source, const std::string& target, const std::atomic<bool>* stop) {
  return Place(source, target, false, stop);
}

TCopyOutcome TCopyRun::Plan(const std::string& source, const std::string& target) {
  return Place(source, target, true, nullptr);
}
