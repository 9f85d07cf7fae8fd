// Folders made below a chosen folder for a file's new name ("OUT" + "2019/11"), made only
// where they are missing and never through a symbolic link, so that a name can never lead
// out of the chosen folder; and their removal when a run is put back.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace platform {

// The first folder of `relative` ("2019/11") below `base` (a folder, or empty for the
// current one) that exists and is a symbolic link, as `base` + its part of `relative`;
// empty when there is none.
std::string LinkedFolderBelow(const std::string& base, const std::string& relative);

// A folder that a run made for new names, with its device and inode (0 and 0 when they
// are not known), so that it is removed again only while it is that folder.
struct MadeFolder {
  std::string Path;
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
};

// What a walk down to a target folder met.
enum class FolderWalk {
  Done,
  Link,    // a level is a symbolic link: the message is its path
  Failed,  // the message is the system's, or says which level changed
};

// The folder that new names go into, held from the folder the run starts at (`base`, which
// the user named and which may itself be a link) down through each level of `relative`.
// On POSIX systems each level is opened relative to the one above without following a
// link, and the folder's files are created and named relative to the held descriptor, so
// that a level swapped for a link later cannot send a file elsewhere. On Windows each
// level is checked to be a plain folder as it is made, and again before a name is given.
class TargetFolder {
 public:
  TargetFolder() = default;
  ~TargetFolder();
  TargetFolder(const TargetFolder&) = delete;
  TargetFolder& operator=(const TargetFolder&) = delete;

  // Opens `base` and each level of `relative` below it ("" for `base` itself), making the
  // missing ones; the folders made go to `made` (outermost first), also when a later level
  // fails, and the folder each was made in is made durable before the call returns.
  TResultOf<FolderWalk> Open(const std::string& base, const std::string& relative, std::vector<MadeFolder>& made);
  // Walks from the base down to the folder again, just before a name is given in it: a
  // level swapped since for a link gives Link, one moved or replaced gives Failed.
  TResultOf<FolderWalk> Recheck() const;

  // The folder as `base` and `relative` spell it, and a name in it.
  const std::string& Path() const { return Path_; }
  std::string PathOf(const std::string& name) const;

  // Makes the folder's entries durable: names given in it last through a power loss.
  TResult Sync() const;

  // Moves the file `from` into the folder under `name`, never replacing what is there.
  TResultOf<NoReplaceResult> MoveInto(const std::string& from, const std::string& name) const;
  // Removes the file `name` of the folder; false when it is still there or never was.
  bool Remove(const std::string& name) const;
  // Moves the file `name` of the folder to `to` (any path), never replacing what is there.
  TResultOf<NoReplaceResult> MoveOut(const std::string& name, const std::string& to) const;

#ifndef _WIN32
  int Descriptor() const { return Folder_; }
#endif

 private:
  struct Level {
    std::string Name;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
  };
  void Close();

  std::string Base_;
  std::string Path_;
  std::vector<Level> Levels_;  // below the base, outermost first
#ifndef _WIN32
  int BaseFolder_ = -1;
  int Folder_ = -1;
#endif
};

// Removes `folder` when it is empty and, where its device and inode are known, still that
// folder: never through a link in place of its parent, never a folder that took its place.
void RemoveMadeFolder(const MadeFolder& folder);

}  // namespace platform
