#include "workflow/CopyRun.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

TRowResult TCopyRun::Copy(const std::string& source, const std::string& target) {
  const std::u16string wideSource = platform::NarrowToWide(source);
  const std::u16string wideTarget = platform::NarrowToWide(target);
  platform::FileStatus targetStatus;
  if (platform::GetFileStatus(wideTarget, targetStatus)) {
    platform::FileStatus sourceStatus;
    if (platform::GetFileStatus(wideSource, sourceStatus) && sourceStatus.device == targetStatus.device &&
        sourceStatus.inode == targetStatus.inode)
      return rowresult::Failed(TRowReason::SameFile);
    if (Written_.contains({targetStatus.device, targetStatus.inode}))
      return rowresult::Failed(TRowReason::WrittenEarlier);
  }
  std::string error;
  if (!platform::CopyFileReplacing(wideSource, wideTarget, error)) return rowresult::Failed(TRowReason::System, error);
  if (platform::GetFileStatus(wideTarget, targetStatus)) Written_.insert({targetStatus.device, targetStatus.inode});
  return rowresult::Done(TRowReason::Copied);
}
