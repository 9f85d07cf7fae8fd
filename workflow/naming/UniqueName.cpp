#include "workflow/naming/UniqueName.h"

#include "Paths/PathHelpers.h"
#include "workflow/naming/NewFileName.h"

std::string NumberedName(std::string_view target, unsigned number) {
  const std::string extension = ExtractExtension(target);
  return std::string(target.substr(0, target.size() - extension.size())) + "_" + std::to_string(number) + extension;
}

TUniquePlacement PlaceUnderUniqueName(const std::string& target, const TPlaceAttempt& attempt,
                                      const std::function<bool(const std::string& candidate)>& sameFile) {
  TUniquePlacement placement;
  for (unsigned number = 0; number <= MaxUniqueNumber; ++number) {
    placement.Target = number == 0 ? target : NumberedName(target, number);
    const TResultOf<platform::NoReplaceResult> placed = attempt(placement.Target);
    switch (placed.Kind()) {
      case platform::NoReplaceResult::Done:
        placement.Outcome = TUniquePlacement::TOutcome::Placed;
        return placement;
      case platform::NoReplaceResult::Failed:
        placement.Outcome = TUniquePlacement::TOutcome::Failed;
        placement.Error = placed.Message();
        return placement;
      case platform::NoReplaceResult::TargetExists:
        if (sameFile && sameFile(placement.Target)) {
          placement.Outcome = TUniquePlacement::TOutcome::AlreadyThere;
          return placement;
        }
        break;
    }
  }
  placement.Outcome = TUniquePlacement::TOutcome::Failed;
  placement.Error = NoFreeNumberedName;
  return placement;
}

TUniquePlacement RenameToUniqueName(const std::string& source, const std::string& target,
                                    const platform::TargetFolder* folder) {
  return PlaceUnderUniqueName(
      target,
      [&](const std::string& candidate) {
        return folder ? folder->MoveInto(source, ExtractFileName(candidate)) : platform::MoveNoReplace(source, candidate);
      },
      [&source](const std::string& candidate) {
        platform::FileStatus sourceStatus, candidateStatus;
        return platform::GetFileStatus(source, sourceStatus) &&
               platform::GetFileStatus(candidate, candidateStatus) &&
               sourceStatus.device == candidateStatus.device && sourceStatus.inode == candidateStatus.inode;
      });
}
