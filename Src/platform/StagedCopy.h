// A copy made in steps that a run can spread over many files: the data is written beside
// the target under a temporary name, then made durable, then given the target's name. A
// run writes all its copies first, makes them durable in one pass, and only then names
// them, so that no copy waits for the disk on its own, and a target name never stands for
// a file whose data is not on the disk yet.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/TargetFolders.h"

namespace platform {

class StagedCopy {
 public:
  StagedCopy() = default;
  // A copy that was not placed leaves nothing behind: its temporary file goes.
  ~StagedCopy();
  StagedCopy(StagedCopy&& other) noexcept;
  StagedCopy& operator=(StagedCopy&& other) noexcept;
  StagedCopy(const StagedCopy&) = delete;
  StagedCopy& operator=(const StagedCopy&) = delete;

  // Writes `from` into a new temporary file in `folder`: a clone of the source's blocks
  // where the file system shares them, else a copy inside the kernel, else read and write;
  // holes of a sparse source stay holes.
  // Only a regular file is copied, and a pipe put in its place never blocks the call;
  // without `followLink` a symbolic link named `from` is refused as well (a file found
  // beside the one the user chose, not chosen itself). The copy has the source's
  // permissions without set-user-ID and set-group-ID, and its modification and access
  // times. When `stop` turns true the write ends and fails with the message of EINTR; the
  // temporary file goes. The temporary file is held open and locked until it is placed or
  // discarded, so that a later run can tell it from one that a killed run left. `written`
  // (may be null) counts the bytes as they are written.
  TResult Write(const std::string& from, std::shared_ptr<const TargetFolder> folder, bool followLink,
                const std::atomic<bool>* stop, std::atomic<std::uint64_t>* written = nullptr);
  // Between Write and Sync: sets the copy's modification time to `microseconds` after
  // 1970-01-01T00:00:00Z, leaving its access time.
  TResult SetModificationTime(std::int64_t microseconds);
  // Waits until the written data is on the disk.
  TResult Sync();
  // Gives the copy the name `name` in the folder Write used: without replacing, so that a
  // taken name gives TargetExists and the copy stays staged, or replacing what is there.
  TResultOf<NoReplaceResult> Place(const std::string& name, bool replace);

  bool Staged() const { return !Temporary_.empty(); }
  std::int64_t Size() const { return Size_; }
  // The folder Write used; null before.
  const TargetFolder* Folder() const { return Folder_.get(); }

 private:
  void Discard();

  std::shared_ptr<const TargetFolder> Folder_;
  // While staged, the temporary file: its name in the folder (its path on Windows).
  std::string Temporary_;
#ifdef _WIN32
  void* File_ = nullptr;  // the temporary file's handle, open from Write to Sync
#else
  int Fd_ = -1;  // open from Write until placed or discarded
#endif
  std::int64_t Size_ = 0;
};

// The prefix of the temporary files of copies.
inline constexpr char TemporaryPrefix[] = ".part-";
// Removes from `folder` the temporary files that copies ended by force (a kill, a power
// loss) left there: those of our name that no running copy holds. Returns how many went.
std::size_t RemoveAbandonedCopies(const TargetFolder& folder);

// Why a source that is a folder, pipe, device or refused link is not copied.
inline constexpr char NotRegularFile[] = "not a regular file";

}  // namespace platform
