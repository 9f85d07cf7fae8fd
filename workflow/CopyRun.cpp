#include "CopyRun.h"

#include "RowResult.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

std::string TCopyRun::Copy(const std::string& source, const std::string& target) {
  const std::u16string wideSource = platform::NarrowToWide(source);
  const std::u16string wideTarget = platform::NarrowToWide(target);
  platform::FileStatus targetStatus;
  if (platform::GetFileStatus(wideTarget, targetStatus)) {
    platform::FileStatus sourceStatus;
    if (platform::GetFileStatus(wideSource, sourceStatus) && sourceStatus.device == targetStatus.device &&
        sourceStatus.inode == targetStatus.inode)
      return rowresult::Failed(rowresult::SameFile);
    if (Written_.contains({targetStatus.device, targetStatus.inode}))
      return rowresult::Failed(rowresult::WrittenEarlier);
  }
  std::string error;
  if (!platform::CopyFileReplacing(wideSource, wideTarget, error)) return rowresult::Failed(error);
  if (platform::GetFileStatus(wideTarget, targetStatus)) Written_.insert({targetStatus.device, targetStatus.inode});
  return std::string(rowresult::Copied);
}
