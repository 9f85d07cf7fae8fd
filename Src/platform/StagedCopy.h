// A copy made in steps that a run can spread over many files: the data is written beside
// the target under a temporary name, then made durable, then given the target's name. A
// run writes all its copies first, makes them durable in one pass, and only then names
// them, so that no copy waits for the disk on its own, and a target name never stands for
// a file whose data is not on the disk yet.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

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

  // Writes `from` into a new temporary file in the folder of `to`: a clone of the source's
  // blocks where the file system shares them, else a copy inside the kernel, else read and
  // write. The copy has the source's permissions without set-user-ID and set-group-ID, and
  // its modification and access times. When `stop` turns true the write ends and fails
  // with the message of EINTR; the temporary file goes.
  bool Write(const std::u16string& from, const std::u16string& to, const std::atomic<bool>* stop, std::string& error);
  // Between Write and Sync: sets the copy's modification time to `microseconds` after
  // 1970-01-01T00:00:00Z, leaving its access time.
  bool SetModificationTime(std::int64_t microseconds, std::string& error);
  // Waits until the written data is on the disk.
  bool Sync(std::string& error);
  // Gives the copy the name `to` (in the folder Write used): without replacing, so that a
  // taken name gives TargetExists and the copy stays staged, or replacing what is there.
  NoReplaceResult Place(const std::u16string& to, bool replace, std::string& error);

  bool Staged() const { return !Path_.empty(); }
  std::int64_t Size() const { return Size_; }

 private:
  void Discard();

  std::string Path_;  // the temporary file, while staged
  int Fd_ = -1;       // open from Write to Sync
  std::int64_t Size_ = 0;
};

// Makes the entries of `folder` durable: names given in it last through a power loss.
bool SyncFolder(const std::u16string& folder, std::string& error);

}  // namespace platform
