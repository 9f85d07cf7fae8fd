#include "workflow/CopyRun.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

TCopyRun::TCopyRun(const std::vector<std::string>& sources) {
  for (const std::string& source : sources) {
    platform::FileStatus status;
    if (platform::GetFileStatus(platform::NarrowToWide(source), status)) Sources_.insert({status.device, status.inode});
  }
}

TRowResult TCopyRun::Refusal(const std::string& source, const std::string& target, bool& targetExists) const {
  if (PlannedTargets_.contains(target)) return rowresult::Failed(TRowReason::WrittenEarlier);
  platform::FileStatus targetStatus;
  targetExists = platform::GetFileStatus(platform::NarrowToWide(target), targetStatus);
  if (!targetExists) return {};
  const TFileId targetId{targetStatus.device, targetStatus.inode};
  platform::FileStatus sourceStatus;
  if (platform::GetFileStatus(platform::NarrowToWide(source), sourceStatus) &&
      TFileId{sourceStatus.device, sourceStatus.inode} == targetId)
    return rowresult::Failed(TRowReason::SameFile);
  if (Written_.contains(targetId)) return rowresult::Failed(TRowReason::WrittenEarlier);
  if (Sources_.contains(targetId)) return rowresult::Failed(TRowReason::OtherSource);
  return {};
}

TRowResult TCopyRun::Copy(const std::string& source, const std::string& target, const std::atomic<bool>* stop) {
  bool targetExists = false;
  if (TRowResult refusal = Refusal(source, target, targetExists); refusal.Kind != TRowKind::None) return refusal;
  const std::u16string wideTarget = platform::NarrowToWide(target);
  std::string error;
  if (!platform::CopyFileReplacing(platform::NarrowToWide(source), wideTarget, error, stop))
    return rowresult::Failed(TRowReason::System, error);
  platform::FileStatus written;
  if (platform::GetFileStatus(wideTarget, written)) Written_.insert({written.device, written.inode});
  return rowresult::Done(targetExists ? TRowReason::CopiedReplacing : TRowReason::Copied);
}

TRowResult TCopyRun::Plan(const std::string& source, const std::string& target) {
  bool targetExists = false;
  if (TRowResult refusal = Refusal(source, target, targetExists); refusal.Kind != TRowKind::None) return refusal;
  PlannedTargets_.insert(target);
  return rowresult::Planned(targetExists ? TRowReason::CopiedReplacing : TRowReason::Copied);
}
