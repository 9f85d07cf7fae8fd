#include "workflow/CompanionGroup.h"

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

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

TRowResult MoveAllOrNone(const TCompanionMoves& moves) {
  for (std::size_t index = 0; index < moves.size(); ++index) {
    std::string error;
    const platform::NoReplaceResult moved = platform::MoveNoReplace(
        platform::NarrowToWide(moves[index].first), platform::NarrowToWide(moves[index].second), error);
    if (moved == platform::NoReplaceResult::Done) continue;
    for (std::size_t back = index; back-- > 0;) {
      std::string ignored;
      platform::MoveFileNoReplace(platform::NarrowToWide(moves[back].second), platform::NarrowToWide(moves[back].first),
                                  ignored);
    }
    return moved == platform::NoReplaceResult::TargetExists
               ? rowresult::Failed(TRowReason::CompanionTaken, ExtractFileName(moves[index].second))
               : rowresult::Failed(TRowReason::System, error);
  }
  return {};
}

void RemoveMade(const TCompanionMoves& made) {
  for (const auto& copy : made) platform::RemoveFile(platform::NarrowToWide(copy.second));
}

std::vector<std::string> CompanionNames(const TCompanionMoves& moves) {
  std::vector<std::string> names;
  for (const auto& move : moves) names.push_back(ExtractFileName(move.first));
  return names;
}
