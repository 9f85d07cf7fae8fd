// A dry run's picture of the folders, and the file checks that rows of a run share.
#pragma once
#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

// True when `name` holds anything (a file, a folder, a link).
bool FileOrFolderExists(const std::string& name);
// True when both names reach one file (same device and inode).
bool IsSameFile(const std::string& first, const std::string& second);

// A dry run's stand-in for the no-replace operation: a name counts as taken when an
// earlier row of the run would have taken it, or when a file holds it that no earlier row
// would have moved away. A name that is free is taken for the rows after.
class TPlannedNames {
 public:
  // `by`: the file of the row that takes it, for TakenBy.
  platform::NoReplaceResult Take(const std::string& candidate, const std::string& by = {});
  // The name (without folder) of the file that holds `name` or that an earlier row would
  // have given it.
  std::string TakenBy(const std::string& name) const;
  bool Freed(const std::string& name) const { return Freed_.contains(name); }
  void Free(const std::string& name) { Freed_.insert(name); }

 private:
  std::map<std::string, std::string> Taken_;  // name -> the file of the row that takes it
  std::set<std::string> Freed_;
};
