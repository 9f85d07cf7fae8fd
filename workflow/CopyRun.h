// One copy run: copies that never destroy data. A copy onto the source itself is refused,
// and so is one onto the file of another row of the run (it would be gone before its own
// row read it), or onto a target that an earlier copy of the same run wrote. A target name
// that holds the same bytes already is skipped ("already copied"); one that holds a
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

#include "workflow/RowResult.h"

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

  // Copies `source` to `target` (or the name TTakenName leads to). `stop`, when given and
  // turned true, ends the copy early and leaves no partial file.
  TCopyOutcome Copy(const std::string& source, const std::string& target, const std::atomic<bool>* stop = nullptr);
  // What Copy would do, with the same checks, writing nothing; later rows see the targets
  // of earlier planned copies as written.
  TCopyOutcome Plan(const std::string& source, const std::string& target);

 private:
  using TFileId = std::pair<std::uint64_t, std::uint64_t>;  // device, inode
  enum class TNameState { Free, SameBytes, OtherFile, Folder };

  // The refusal of a copy from `source` to `target`, kind None when it may go ahead.
  TRowResult Refusal(const std::string& source, const std::string& target) const;
  // What `candidate` holds now, as seen by a real run or by a dry run.
  TNameState StateOf(const std::string& source, const std::string& candidate, bool dryRun) const;
  // The copy or its plan: `dryRun` writes nothing.
  TCopyOutcome Place(const std::string& source, const std::string& target, bool dryRun, const std::atomic<bool>* stop);

  TTakenName TakenName_;
  std::set<TFileId> Sources_;
  std::set<TFileId> Written_;
  std::map<std::string, std::string> PlannedTargets_;  // a dry run's targets and their sources
};
