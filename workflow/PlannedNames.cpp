#include "workflow/PlannedNames.h"

#include "platform/Text.h"

bool FileOrFolderExists(const std::string& name) {
  platform::FileStatus status;
  return platform::GetFileStatus(platform::NarrowToWide(name), status);
}

bool IsSameFile(const std::string& first, const std::string& second) {
  platform::FileStatus a;
  platform::FileStatus b;
  return platform::GetFileStatus(platform::NarrowToWide(first), a) &&
         platform::GetFileStatus(platform::NarrowToWide(second), b) && a.device == b.device && a.inode == b.inode;
}

platform::NoReplaceResult TPlannedNames::Take(const std::string& candidate) {
  if (Taken_.contains(candidate) || (FileOrFolderExists(candidate) && !Freed_.contains(candidate)))
    return platform::NoReplaceResult::TargetExists;
  Taken_.insert(candidate);
  return platform::NoReplaceResult::Done;
}
