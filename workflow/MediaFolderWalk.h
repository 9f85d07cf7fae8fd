// The folder walk of a recursive run: the media files under a folder, without following
// symbolic links and without hidden entries, sorted by path byte by byte.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// True when the name ends in one of the media extensions (MediaExtensions.h), letter case
// ignored.
bool HasMediaExtension(std::string_view fileName);

struct TFolderWalk {
  std::vector<std::string> Files;     // full paths, sorted byte by byte
  std::vector<std::string> Problems;  // "folder: message" for each folder that could not be read
};

// Walks `folder` and every folder below it. Symbolic links (to files or folders) and
// entries whose names begin with "." are left out, and so is anything but a regular file
// with a media extension. Each folder is entered once, also when mounts make it reachable
// twice.
TFolderWalk WalkMediaFolder(const std::string& folder);

// The files of a selection that may hold folders: each name that is a folder gives the
// files WalkMediaFolder finds under it, in its place; every other name stays as it is, so
// that a missing or odd file still gets its own row.
TFolderWalk ExpandFolders(const std::vector<std::string>& names);
