#include "workflow/CopyRun.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

TCopyRun::TCopyRun(const std::vector<std::string>& sources) {
  for (const std::string& source : sources) {
    platform::FileStatus status;
    if (platform::GetFileStatus(platform::NarrowToWide(source), status)) Sources_.insert({status.device, status.inode});
  }
}

TRowResult TCopyRun::Copy(const std::string& source, const std::string& target, const std::atomic<bool>* stop) {
  const std::u16string wideSource = platform::NarrowToWide(source);
  const std::u16string wideTarget = platform::NarrowToWide(target);
  platform::FileStatus targetStatus;
  const bool targetExists = platform::GetFileStatus(wideTarget, targetStatus);
  if (targetExists) {
    const TFileId targetId{targetStatus.device, targetStatus.inode};
    platform::FileStatus sourceStatus;
    if (platform::GetFileStatus(wideSource, sourceStatus) && TFileId{sourceStatus.device, sourceStatus.inode} == targetId)
      return rowresult::Failed(TRowReason::SameFile);
    if (Written_.contains(targetId)) return rowresult::Failed(TRowReason::WrittenEarlier);
    if (Sources_.contains(targetId)) return rowresult::Failed(TRowReason::OtherSource);
  }
  std::string error;
  if (!platform::CopyFileReplacing(wideSource, wideTarget, error, stop))
    return rowresult::Failed(TRowReason::System, error);
  if (platform::GetFileStatus(wideTarget, targetStatus)) Written_.insert({targetStatus.device, targetStatus.inode});
  return rowresult::Done(TRowReason::Copied);
}
