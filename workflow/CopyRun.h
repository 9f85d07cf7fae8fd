// One copy run: copies that never destroy data. A copy onto the source itself is refused,
// and so is one onto the file of another row of the run (it would be gone before its own
// row read it), or onto a target that an earlier copy of the same run wrote; a target that
// existed before the run is replaced. Files are compared by device and inode, so that
// another spelling of a path, a hard link or a symbolic link is still the same file.
#pragma once
#include <atomic>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "workflow/RowResult.h"

class TCopyRun {
 public:
  // `sources`: the file of every row of the run, taken before anything is written.
  explicit TCopyRun(const std::vector<std::string>& sources);

  // Copies `source` to `target` and returns the row's result. `stop`, when given and
  // turned true, ends the copy early (see platform::CopyFileReplacing).
  TRowResult Copy(const std::string& source, const std::string& target, const std::atomic<bool>* stop = nullptr);
  // What Copy would do, with the same checks, writing nothing; later rows see the targets
  // of earlier planned copies as written.
  TRowResult Plan(const std::string& source, const std::string& target);

 private:
  using TFileId = std::pair<std::uint64_t, std::uint64_t>;  // device, inode
  // The refusal of a copy from `source` to `target`, kind None when it may go ahead;
  // `targetExists` tells whether a file of the target's name is there.
  TRowResult Refusal(const std::string& source, const std::string& target, bool& targetExists) const;

  std::set<TFileId> Sources_;
  std::set<TFileId> Written_;
  std::set<std::string> PlannedTargets_;
};
