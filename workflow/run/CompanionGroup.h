// A media file's companions as a group that moves with it: their new names beside the
// file's, and the moves made all or none.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/TargetFolders.h"
#include "workflow/files/Companions.h"
#include "workflow/run/PlannedNames.h"
#include "workflow/rows/RowEvents.h"
#include "workflow/rows/RowResult.h"

// Pairs of (companion, its new name).
using TCompanionMoves = std::vector<std::pair<std::string, std::string>>;

// The companions of `media` with their new names beside `mediaTarget`.
TCompanionMoves CompanionMoves(TCompanionFinder& finder, const std::string& media, const std::string& mediaTarget);

// The first new name (without folder) that is taken by a file that is not the companion
// itself, or empty. `planned` given (a dry run): the names that earlier rows would take or
// free count as well.
std::string TakenCompanionName(const TCompanionMoves& moves, TPlannedNames* planned);

struct TGroupMove {
  // The failure (CompanionTaken naming the taken name, or System naming the companion),
  // kind None when all went.
  TRowResult Failure;
  std::string FailedCompanion;  // the companion that could not move, without folder
  std::string Why;              // the system's message for it
  // The moves that could not be taken back after a failure: those files keep their new names.
  TCompanionMoves Stayed;
};

// Moves every companion into `folder` (that of the new names) without replacing, telling
// `onMoved` of each; when one fails, those already moved go back.
TGroupMove MoveAllOrNone(const TCompanionMoves& moves, const platform::TargetFolder& folder,
                         const TFileMovedEvent& onMoved);

// Moves a file that was moved to `moved.second` in `folder` back to `moved.first`, never
// replacing; a failure with the reason when it stays.
TResult MoveBack(const std::pair<std::string, std::string>& moved, const platform::TargetFolder& folder);

// Removes the files of `made` (new names in `folder` that this run wrote), for a group that
// failed.
void RemoveMade(const TCompanionMoves& made, const platform::TargetFolder& folder);

// The companions' names without folder, for the row's result.
std::vector<std::string> CompanionNames(const TCompanionMoves& moves);
