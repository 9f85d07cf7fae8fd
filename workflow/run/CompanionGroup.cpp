#include "workflow/run/CompanionGroup.h"

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"

TCompanionMoves CompanionMoves(TCompanionFinder& finder, const std::string& media, const std::string& mediaTarget) {
  TCompanionMoves moves;
  for (const std::string& companion : finder.Find(media))
    moves.emplace_back(companion, CompanionTarget(companion, media, mediaTarget));
  return moves;
}

std::string TakenCompanionName(const TCompanionMoves& moves, TPlannedNames* planned) {
  for (const auto& [companion, target] : moves) {
    if (IsSameFile(companion, target)) continue;
    const bool taken = planned ? planned->Take(target) != platform::NoReplaceResult::Done : FileOrFolderExists(target);
    if (taken) return ExtractFileName(target);
  }
  return {};
}

TGroupMove MoveAllOrNone(const TCompanionMoves& moves, const platform::TargetFolder& folder,
                         const TFileMovedEvent& onMoved) {
  TGroupMove outcome;
  for (std::size_t index = 0; index < moves.size(); ++index) {
    const auto& [companion, target] = moves[index];
    const auto moved = folder.MoveInto(companion, ExtractFileName(target));
    const std::string& error = moved.Message();
    if (moved) {
      if (onMoved) onMoved(companion, target);
      continue;
    }
    for (std::size_t back = index; back-- > 0;)
      if (!MoveBack(moves[back], folder)) outcome.Stayed.push_back(moves[back]);
    outcome.FailedCompanion = ExtractFileName(companion);
    outcome.Why = error;
    outcome.Failure = moved.Kind() == platform::NoReplaceResult::TargetExists
                          ? rowresult::Failed(TRowReason::CompanionTaken, ExtractFileName(target))
                          : rowresult::Failed(TRowReason::System, ExtractFileName(companion) + ": " + error);
    return outcome;
  }
  return outcome;
}

TResult MoveBack(const std::pair<std::string, std::string>& moved, const platform::TargetFolder& folder) {
  return folder.MoveOut(ExtractFileName(moved.second), moved.first);
}

void RemoveMade(const TCompanionMoves& made, const platform::TargetFolder& folder) {
  for (const auto& copy : made) folder.Remove(ExtractFileName(copy.second));
}

std::vector<std::string> CompanionNames(const TCompanionMoves& moves) {
  std::vector<std::string> names;
  for (const auto& move : moves) names.push_back(ExtractFileName(move.first));
  return names;
}
