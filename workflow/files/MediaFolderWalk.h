// The folder walk of a recursive run: the media files under a folder, without following
// symbolic links and without hidden entries, sorted by path byte by byte.
#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "workflow/files/MediaExtensions.h"

struct TFolderWalk {
  std::vector<std::string> Files;     // full paths, sorted byte by byte
  std::vector<std::string> Problems;  // "folder: message" for each folder that could not be read
  // The regular files passed over because they are not media, by extension in lower case
  // with its dot ("" for none); sidecars of a media file beside them are not among them.
  std::map<std::string, std::size_t> LeftOut;
};

// "left out 14 files that are not media: .xmp 9, .txt 5" (most frequent kind first), or
// empty when the walk left nothing out.
std::string LeftOutText(const TFolderWalk& walk);

// Walks `folder` and every folder below it. Symbolic links (to files or folders) and
// entries whose names begin with "." are left out, and so is anything but a regular file
// with a media extension; regular files without one are counted in LeftOut.
// Each folder is entered once, also when mounts make it reachable twice.
TFolderWalk WalkMediaFolder(const std::string& folder);

// The files of a selection that may hold folders: each name that is a folder gives the
// files WalkMediaFolder finds under it, in its place; every other name stays as it is, so
// that a missing or odd file still gets its own row.
TFolderWalk ExpandFolders(const std::vector<std::string>& names);
