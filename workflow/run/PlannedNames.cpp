#include "workflow/run/PlannedNames.h"

#include "Paths/PathHelpers.h"

bool FileOrFolderExists(const std::string& name) {
  platform::FileStatus status;
  return platform::GetFileStatus(name, status);
}

bool IsSameFile(const std::string& first, const std::string& second) {
  platform::FileStatus a;
  platform::FileStatus b;
  return platform::GetFileStatus(first, a) &&
         platform::GetFileStatus(second, b) && a.device == b.device && a.inode == b.inode;
}

platform::NoReplaceResult TPlannedNames::Take(const std::string& candidate, const std::string& by) {
  if (Taken_.contains(candidate) || (FileOrFolderExists(candidate) && !Freed_.contains(candidate)))
    return platform::NoReplaceResult::TargetExists;
  Taken_.emplace(candidate, by);
  return platform::NoReplaceResult::Done;
}

std::string TPlannedNames::TakenBy(const std::string& name) const {
  const auto taken = Taken_.find(name);
  return ExtractFileName(taken != Taken_.end() && !taken->second.empty() ? taken->second : name);
}
