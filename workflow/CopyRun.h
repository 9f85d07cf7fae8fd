// One copy run: copies that never destroy data. A copy onto the source itself is refused,
// and so is a target that an earlier copy of the same run wrote; a target that existed
// before the run is replaced. Files are compared by device and inode, so that another
// spelling of a path, a hard link or a symbolic link is still the same file.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "workflow/RowResult.h"

class TCopyRun {
 public:
  // Copies `source` to `target` and returns the row's result.
  TRowResult Copy(const std::string& source, const std::string& target);

 private:
  std::set<std::pair<std::uint64_t, std::uint64_t>> Written_;
};
