#include "workflow/run/CopyRun.h"

#include <cerrno>

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"
#include "workflow/run/SameContents.h"
#include "workflow/naming/UniqueName.h"

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
    if (platform::GetFileStatus(source, status)) Sources_.insert({status.device, status.inode});
  }
}

TRowResult TCopyRun::Refusal(const std::string& source, const std::string& target) const {
  // A byte-identical file of the run that gets the same name has nothing left to do.
  if (const auto planned = PlannedTargets_.find(target); planned != PlannedTargets_.end())
    return HoldSameBytes(source, planned->second)
               ? rowresult::Skipped(TRowReason::SameAs, planned->second)
               : rowresult::Failed(TRowReason::WrittenEarlier);
  platform::FileStatus targetStatus;
  if (!platform::GetFileStatus(target, targetStatus)) return {};
  const TFileId targetId{targetStatus.device, targetStatus.inode};
  platform::FileStatus sourceStatus;
  if (platform::GetFileStatus(source, sourceStatus) &&
      TFileId{sourceStatus.device, sourceStatus.inode} == targetId)
    return rowresult::Failed(TRowReason::SameFile);
  if (Written_.contains(targetId)) return rowresult::Failed(TRowReason::WrittenEarlier);
  if (Sources_.contains(targetId)) return rowresult::Failed(TRowReason::OtherSource);
  return {};
}

TCopyRun::TNameState TCopyRun::StateOf(const std::string& source, const std::string& candidate) const {
  if (const auto planned = PlannedTargets_.find(candidate); planned != PlannedTargets_.end())
    return HoldSameBytes(source, planned->second) ? TNameState::SameBytes : TNameState::OtherFile;
  platform::FileStatus status;
  if (!platform::GetFileStatus(candidate, status)) return TNameState::Free;
  if (status.isDirectory) return TNameState::Folder;
  return HoldSameBytes(source, candidate) ? TNameState::SameBytes : TNameState::OtherFile;
}

TCopyOutcome TCopyRun::Plan(const std::string& source, const std::string& target) {
  return PlanWith(TakenName_, source, target);
}

TCopyOutcome TCopyRun::PlanExactly(const std::string& source, const std::string& target) {
  return PlanWith(TTakenName::Keep, source, target);
}

TCopyOutcome TCopyRun::PlanWith(TTakenName takenName, const std::string& source, const std::string& target) {
  // Numbered names never meet a source or an earlier copy; the other ways guard both.
  if (takenName != TTakenName::Unique) {
    if (TRowResult refusal = Refusal(source, target); refusal.Kind != TRowKind::None) return {refusal, target};
  }
  const auto planned = [&](TRowReason reason, const std::string& candidate) -> TCopyOutcome {
    PlannedTargets_[candidate] = source;
    return {rowresult::Planned(reason), candidate};
  };
  const unsigned lastNumber = takenName == TTakenName::Unique ? MaxUniqueNumber : 0;
  for (unsigned number = 0; number <= lastNumber; ++number) {
    const std::string candidate = number == 0 ? target : NumberedName(target, number);
    switch (StateOf(source, candidate)) {
      case TNameState::Free: return planned(TRowReason::Copied, candidate);
      case TNameState::SameBytes: return {rowresult::Skipped(TRowReason::AlreadyCopied), candidate};
      case TNameState::Folder:
        if (takenName != TTakenName::Unique) return {TakenNameResult(true), candidate};
        break;
      case TNameState::OtherFile:
        if (takenName == TTakenName::Keep) return {TakenNameResult(false), candidate};
        if (takenName == TTakenName::Replace) return planned(TRowReason::CopiedReplacing, candidate);
        break;
    }
  }
  return {rowresult::Failed(TRowReason::System, std::string(NoFreeNumberedName)), target};
}

TCopyOutcome TCopyRun::Finish(platform::StagedCopy& staged, const std::string& source, const std::string& target,
                              const TCopyOutcome& planned, bool exactly) {
  TCopyOutcome outcome = planned;
  for (int attempt = 0;; ++attempt) {
    const TRowReason reason = outcome.Result.Reason;
    const auto placed = staged.Place(ExtractFileName(outcome.Target), reason == TRowReason::CopiedReplacing);
    const std::string& error = placed.Message();
    if (placed) {
      platform::FileStatus written;
      if (platform::GetFileStatus(outcome.Target, written))
        Written_.insert({written.device, written.inode});
      return {rowresult::Done(reason), outcome.Target};
    }
    PlannedTargets_.erase(outcome.Target);
    if (placed.Kind() == platform::NoReplaceResult::Failed || attempt == 1)
      return {rowresult::Failed(TRowReason::System, error), outcome.Target};
    // Another process took the name since the plan: look again.
    outcome = exactly ? PlanExactly(source, target) : Plan(source, target);
    if (!outcome.Result.Planned) return outcome;
  }
}
