// Folders made below a chosen folder for a file's new name ("OUT" + "2019/11"), made only
// where they are missing and never through a symbolic link, so that a name can never lead
// out of the chosen folder; and their removal when a run is put back.
#pragma once
#include <string>
#include <vector>

namespace platform {

// The first folder of `relative` ("2019/11") below `base` (a folder, or empty for the
// current one) that exists and is a symbolic link, as `base` + its part of `relative`;
// empty when there is none.
std::string LinkedFolderBelow(const std::string& base, const std::string& relative);

// Makes each missing folder of `relative` below `base`, one level at a time through
// descriptors opened without following links: a link put in the way fails the call. The
// folders made go to `made` (outermost first), also when a later one fails; the folder
// each was made in is made durable before the call returns.
bool MakeFoldersBelow(const std::string& base, const std::string& relative, std::vector<std::string>& made,
                      std::string& error);

// Removes `folder` when it is empty; anything else leaves it as it is.
void RemoveFolderIfEmpty(const std::string& folder);

}  // namespace platform
