#include "platform/StagedCopy.h"

#include <utility>

#include "platform/Text.h"
#include "platform/Win32Support.h"

namespace platform {

using win32::OwnedHandle;
using win32::Wide;

StagedCopy::~StagedCopy() { Discard(); }

StagedCopy::StagedCopy(StagedCopy&& other) noexcept
    : Path_(std::exchange(other.Path_, {})), File_(std::exchange(other.File_, nullptr)), Size_(other.Size_) {}

StagedCopy& StagedCopy::operator=(StagedCopy&& other) noexcept {
  if (this != &other) {
    Discard();
    Path_ = std::exchange(other.Path_, {});
    File_ = std::exchange(other.File_, nullptr);
    Size_ = other.Size_;
  }
  return *this;
}

void StagedCopy::Discard() {
  if (File_) OwnedHandle(std::exchange(File_, nullptr)).Close();
  if (!Path_.empty()) ::DeleteFileW(Wide(NarrowToWide(Path_)));
  Path_.clear();
}

bool StagedCopy::Write(const std::u16string& from, const std::u16string& to, const std::atomic<bool>* stop,
                       std::string& error) {
  Discard();
  const OwnedHandle source(::CreateFileW(Wide(from), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!source.valid() || !::GetFileSizeEx(source.get(), &size)) {
    error = ErrorText(win32::LastErrorNumber());
    return false;
  }
  std::u16string temporary;
  int failure = 0;
  OwnedHandle target = win32::CreateTemporaryIn(win32::FolderOf(to), temporary, failure);
  if (!target.valid()) {
    error = ErrorText(failure);
    return false;
  }
  Path_ = WideToNarrow(temporary);
  File_ = target.Release();
  if (!win32::CopyContentsAndTimes(source.get(), File_, stop, failure)) {
    error = ErrorText(failure);
    Discard();
    return false;
  }
  Size_ = size.QuadPart;
  return true;
}

bool StagedCopy::SetModificationTime(std::int64_t microseconds, std::string& error) {
  // While the copy is open it is shared with no one: the time goes through its handle.
  if (!File_) return platform::SetModificationTime(NarrowToWide(Path_), microseconds, error);
  const FILETIME modified = win32::FileTimeOfMicroseconds(microseconds);
  if (::SetFileTime(File_, nullptr, nullptr, &modified)) return true;
  error = ErrorText(win32::LastErrorNumber());
  return false;
}

bool StagedCopy::Sync(std::string& error) {
  if (!File_) return true;
  OwnedHandle file(std::exchange(File_, nullptr));
  bool synced = ::FlushFileBuffers(file.get()) != 0;
  int failure = synced ? 0 : win32::LastErrorNumber();
  // A late write error shows at the close.
  if (!file.Close() && synced) {
    synced = false;
    failure = win32::LastErrorNumber();
  }
  if (!synced) {
    error = ErrorText(failure);
    Discard();
  }
  return synced;
}

NoReplaceResult StagedCopy::Place(const std::u16string& to, bool replace, std::string& error) {
  // A file open without sharing cannot be renamed: a copy placed unsynced is closed first.
  if (File_) OwnedHandle(std::exchange(File_, nullptr)).Close();
  const std::u16string temporary = NarrowToWide(Path_);
  NoReplaceResult result;
  if (replace) {
    result = ::MoveFileExW(Wide(temporary), Wide(to), MOVEFILE_REPLACE_EXISTING) ? NoReplaceResult::Done
                                                                                    : NoReplaceResult::Failed;
    if (result == NoReplaceResult::Failed) error = ErrorText(win32::LastErrorNumber());
  } else {
    result = MoveNoReplace(temporary, to, error);
  }
  if (result == NoReplaceResult::Done) Path_.clear();
  return result;
}

bool SyncFolder(const std::u16string& folder, std::string& error) {
  int failure = 0;
  if (win32::FlushFolder(folder, failure)) return true;
  error = ErrorText(failure);
  return false;
}

}  // namespace platform
