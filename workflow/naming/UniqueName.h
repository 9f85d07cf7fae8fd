// Names for files that share a creation time: the target, else the target with "_1", "_2",
// ... before its extension, the first one free. The no-replace move or copy decides which
// name is free, so that no other process can take a name between a check and its use.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/TargetFolders.h"

// `target` with "_" and `number` in front of its extension: "/v/a.mp4", 2 -> "/v/a_2.mp4";
// "/v/a", 1 -> "/v/a_1".
std::string NumberedName(std::string_view target, unsigned number);

// The last number tried before giving up.
inline constexpr unsigned MaxUniqueNumber = 9999;
inline constexpr std::string_view NoFreeNumberedName = "no free numbered name";

struct TUniquePlacement {
  enum class TOutcome {
    Placed,       // the file now has `Target`
    AlreadyThere, // a rename whose source already is `Target` (same file): nothing changed
    Failed        // `Error` says why; nothing changed
  };
  TOutcome Outcome = TOutcome::Failed;
  std::string Target;
  std::string Error;
};

// One try of a no-replace operation under `candidate`.
using TPlaceAttempt = std::function<TResultOf<platform::NoReplaceResult>(const std::string& candidate)>;

// Tries `target`, then NumberedName(target, 1), 2, ... up to MaxUniqueNumber, until an attempt
// does not meet an existing file. `sameFile` (may be empty) is asked after a name was found
// taken: true stops with AlreadyThere.
TUniquePlacement PlaceUnderUniqueName(const std::string& target, const TPlaceAttempt& attempt,
                                      const std::function<bool(const std::string& candidate)>& sameFile = {});

// Moves `source` to the first free of those names. A file whose name already is one of them
// in turn (renamed before) stays as it is: AlreadyThere. `folder` given, the names are
// given in that held folder (the folder of `target`).
TUniquePlacement RenameToUniqueName(const std::string& source, const std::string& target,
                                    const platform::TargetFolder* folder = nullptr);
