// One copy run: copies that never destroy data. A copy onto the source itself is refused,
// and so is one onto the file of another row of the run (it would be gone before its own
// row read it), or onto a target that an earlier copy of the same run wrote unless it wrote
// the same bytes ("same as FILE"). A target name that holds the same bytes already is
// skipped ("already copied"); one that holds a
// different file is kept as it is, and the copy fails, takes the first free numbered name
// or replaces it, as the run's TTakenName says. Files are compared by device and inode,
// so that another spelling of a path, a hard link or a symbolic link is still the same file.
#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/StagedCopy.h"
#include "workflow/rows/RowResult.h"

// What a copy does when its target name holds a different file.
enum class TTakenName {
  Keep,     // the copy fails; the file there stays
  Unique,   // the copy takes NAME_1, NAME_2, ..., the first free name
  Replace,  // the copy replaces the file (asked for explicitly)
};

struct TCopyOutcome {
  TRowResult Result;
  std::string Target;  // the name the copy took or would take
};

class TCopyRun {
 public:
  // `sources`: the file of every row of the run, taken before anything is written.
  TCopyRun(const std::vector<std::string>& sources, TTakenName takenName);

  // What a copy of `source` to `target` does, with every check, writing nothing: a final
  // result, or a copy still to be made (kind Done, Planned) under the name it gives. Later
  // rows see the targets of earlier planned copies as written.
  TCopyOutcome Plan(const std::string& source, const std::string& target);
  // Plan under the rule that a different file keeps its name, whatever the run's rule: for
  // companions, which go under their media file's new name or not at all.
  TCopyOutcome PlanExactly(const std::string& source, const std::string& target);
  // Gives `staged` (written and durable) the name that `planned` (from Plan) chose. A name
  // that another process took since is looked at again as Plan (or, `exactly`, PlanExactly)
  // would look at it.
  TCopyOutcome Finish(platform::StagedCopy& staged, const std::string& source, const std::string& target,
                      const TCopyOutcome& planned, bool exactly = false);
  // A planned copy that could not be written: its name no longer counts as taken.
  void Abandon(const TCopyOutcome& planned) { PlannedTargets_.erase(planned.Target); }

 private:
  using TFileId = std::pair<std::uint64_t, std::uint64_t>;  // device, inode
  enum class TNameState { Free, SameBytes, OtherFile, Folder };

  TCopyOutcome PlanWith(TTakenName takenName, const std::string& source, const std::string& target);
  // The refusal of a copy from `source` to `target`, kind None when it may go ahead.
  TRowResult Refusal(const std::string& source, const std::string& target) const;
  // What `candidate` holds, counting the copies planned so far as written.
  TNameState StateOf(const std::string& source, const std::string& candidate) const;

  TTakenName TakenName_;
  std::set<TFileId> Sources_;
  std::set<TFileId> Written_;
  std::map<std::string, std::string> PlannedTargets_;  // planned targets and their sources
};
