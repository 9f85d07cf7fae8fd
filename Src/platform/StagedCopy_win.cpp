#include "platform/StagedCopy.h"

#include <utility>

#include "platform/Win32Support.h"

namespace platform {

using win32::OwnedHandle;
using win32::Wide;

StagedCopy::~StagedCopy() { Discard(); }

StagedCopy::StagedCopy(StagedCopy&& other) noexcept
    : Folder_(std::move(other.Folder_)),
      Temporary_(std::exchange(other.Temporary_, {})),
      File_(std::exchange(other.File_, nullptr)),
      Size_(other.Size_) {}

StagedCopy& StagedCopy::operator=(StagedCopy&& other) noexcept {
  if (this != &other) {
    Discard();
    Folder_ = std::move(other.Folder_);
    Temporary_ = std::exchange(other.Temporary_, {});
    File_ = std::exchange(other.File_, nullptr);
    Size_ = other.Size_;
  }
  return *this;
}

void StagedCopy::Discard() {
  if (File_) OwnedHandle(std::exchange(File_, nullptr)).Close();
  if (!Temporary_.empty()) ::DeleteFileW(Wide(Temporary_).c_str());
  Temporary_.clear();
}

TResult StagedCopy::Write(const std::string& from, std::shared_ptr<const TargetFolder> folder, bool followLink,
                          const std::atomic<bool>* stop, std::atomic<std::uint64_t>* written) {
  Discard();
  Folder_ = std::move(folder);
  // Without following, a link is opened itself, and then refused below.
  const DWORD linkFlag = followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT;
  const std::wstring wideFrom = Wide(from);
  const OwnedHandle source(::CreateFileW(wideFrom.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN | linkFlag, nullptr));
  LARGE_INTEGER size{};
  BY_HANDLE_FILE_INFORMATION info{};
  if (!source.valid() || !::GetFileSizeEx(source.get(), &size) || !::GetFileInformationByHandle(source.get(), &info)) {
    const int failure = win32::LastErrorNumber();
    // A folder does not open as a file (access denied): it is refused as what it is.
    const DWORD attributes = source.valid() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wideFrom.c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return folder ? TResult{TResultKind::Failed, NotRegularFile} : SystemFailure(failure);
  }
  if (::GetFileType(source.get()) != FILE_TYPE_DISK ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
    return {TResultKind::Failed, NotRegularFile};
  std::string temporary;
  int failure = 0;
  OwnedHandle target = win32::CreateTemporaryIn(Folder_->Path().empty() ? "." : Folder_->Path(), temporary, failure);
  if (!target.valid()) return SystemFailure(failure);
  Temporary_ = std::move(temporary);
  File_ = target.Release();
  if (!win32::CopyContentsAndTimes(source.get(), File_, stop, failure)) {
    Discard();
    return SystemFailure(failure);
  }
  Size_ = size.QuadPart;
  if (written) *written += static_cast<std::uint64_t>(Size_);
  return {};
}

TResult StagedCopy::SetModificationTime(std::int64_t microseconds) {
  // While the copy is open it is shared with no one: the time goes through its handle.
  if (!File_) return platform::SetModificationTime(Temporary_, microseconds);
  const FILETIME modified = win32::FileTimeOfMicroseconds(microseconds);
  if (::SetFileTime(File_, nullptr, nullptr, &modified)) return {};
  return SystemFailure(win32::LastErrorNumber());
}

TResult StagedCopy::Sync() {
  if (!File_) return {};
  OwnedHandle file(std::exchange(File_, nullptr));
  bool synced = ::FlushFileBuffers(file.get()) != 0;
  int failure = synced ? 0 : win32::LastErrorNumber();
  // A late write error shows at the close.
  if (!file.Close() && synced) {
    synced = false;
    failure = win32::LastErrorNumber();
  }
  if (synced) return {};
  Discard();
  return SystemFailure(failure);
}

TResultOf<NoReplaceResult> StagedCopy::Place(const std::string& name, bool replace) {
  // A file open without sharing cannot be renamed: a copy placed unsynced is closed first.
  if (File_) OwnedHandle(std::exchange(File_, nullptr)).Close();
  const std::string to = Folder_->PathOf(name);
  TResultOf<NoReplaceResult> result;
  if (!replace)
    result = MoveNoReplace(Temporary_, to);
  else if (!::MoveFileExW(Wide(Temporary_).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING))
    result = SystemFailure(win32::LastErrorNumber(), NoReplaceResult::Failed);
  if (result) Temporary_.clear();
  return result;
}

// Not done on Windows: a temporary file that a killed copy left stays until it is removed
// by hand.
std::size_t RemoveAbandonedCopies(const TargetFolder&) { return 0; }

}  // namespace platform
