#include "platform/FileSystem.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/Win32Support.h"

namespace platform {

using win32::OwnedHandle;
using win32::Wide;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// MoveFileExW with `flags`; 0 or the error number. Without MOVEFILE_REPLACE_EXISTING the
// system refuses an existing target itself, with no window for another process.
int Move(const std::string& from, const std::string& to, DWORD flags) {
  return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), flags) ? 0 : win32::LastErrorNumber();
}

// Fills a temporary file in the target's folder through `fill`, then gives it the target's
// name through a move with `placeFlags`: a failure leaves the old target and no partial
// file. Returns 0 or the error number.
int PlaceThroughTemporary(const std::string& target, const std::function<bool(HANDLE, int&)>& fill,
                          DWORD placeFlags) {
  std::string temporary;
  int error = 0;
  OwnedHandle out = win32::CreateTemporaryIn(win32::FolderOf(target), temporary, error);
  if (!out.valid()) return error;
  bool written = fill(out.get(), error);
  if (written && !::FlushFileBuffers(out.get())) written = false, error = win32::LastErrorNumber();
  if (!out.Close() && written) written = false, error = win32::LastErrorNumber();
  if (written) error = Move(temporary, target, placeFlags);
  if (error != 0) ::DeleteFileW(Wide(temporary).c_str());
  return error;
}

int CopyThroughTemporary(const std::string& source, const std::string& target, const std::atomic<bool>* stop,
                         DWORD placeFlags) {
  OwnedHandle in(::CreateFileW(Wide(source).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in.valid()) return win32::LastErrorNumber();
  return PlaceThroughTemporary(
      target,
      [&](HANDLE out, int& error) { return win32::CopyContentsAndTimes(in.get(), out, stop, error); },
      placeFlags);
}

TResult Succeeded(int errorNumber) { return errorNumber == 0 ? TResult{} : SystemFailure(errorNumber); }

TResultOf<NoReplaceResult> Outcome(int errorNumber) {
  if (errorNumber == 0) return {};
  return SystemFailure(errorNumber, errorNumber == EEXIST ? NoReplaceResult::TargetExists : NoReplaceResult::Failed);
}

}  // namespace

bool GetFileStatus(const std::string& path, FileStatus& status) { return QueryFileStatus(path, status) == 0; }

int QueryFileStatus(const std::string& path, FileStatus& status) {
  if (path.empty()) return ENOENT;
  // No access asked for: attributes only, which a file open elsewhere still gives. The
  // backup flag opens folders too.
  OwnedHandle file(::CreateFileW(Wide(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                 nullptr));
  if (!file.valid()) return win32::LastErrorNumber();
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info)) return win32::LastErrorNumber();
  status.isDirectory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  status.isRegularFile = !status.isDirectory && ::GetFileType(file.get()) == FILE_TYPE_DISK;
  status.size = static_cast<std::int64_t>((std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
  // The volume serial and the file index name a file as device and inode do.
  status.device = info.dwVolumeSerialNumber;
  status.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  status.modified = win32::UnixTimeOfFileTime(info.ftLastWriteTime);
  return 0;
}

std::string ExpandFileName(const std::string& path) {
  // The system itself takes ".." as text, without following links.
  const std::wstring wide = Wide(path);
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return path;
    if (length < buffer.size()) return win32::Narrow({buffer.data(), length});
    buffer.resize(length);
  }
}

std::string GetExeFileName() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return win32::Narrow({buffer.data(), length});
    buffer.resize(buffer.size() * 2);
  }
}

std::string GetCurrentDir() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) return win32::Narrow({buffer.data(), length});
    buffer.resize(length);
  }
}

bool SetCurrentDir(const std::string& folder) { return ::SetCurrentDirectoryW(Wide(folder).c_str()) != 0; }

std::string ErrorText(int errorNumber) { return std::strerror(errorNumber); }

TResultOf<NoReplaceResult> MoveNoReplace(const std::string& from, const std::string& to) {
  // Windows lets a file move onto its own name; a move that never replaces finds that name
  // taken, as it does on POSIX systems. A name that differs in letter case only is another
  // name: the move gives the file that spelling.
  FileStatus source;
  FileStatus target;
  if (ExpandFileName(from) == ExpandFileName(to) && GetFileStatus(from, source) && GetFileStatus(to, target) &&
      source.device == target.device && source.inode == target.inode)
    return SystemFailure(EEXIST, NoReplaceResult::TargetExists);
  return Outcome(Move(from, to, 0));
}

TResult MoveFileNoReplace(const std::string& from, const std::string& to) { return MoveNoReplace(from, to); }

TResult CopyFileReplacing(const std::string& from, const std::string& to, const std::atomic<bool>* stop) {
  return Succeeded(CopyThroughTemporary(from, to, stop, MOVEFILE_REPLACE_EXISTING));
}

TResultOf<NoReplaceResult> CopyNoReplace(const std::string& from, const std::string& to,
                                         const std::atomic<bool>* stop) {
  return Outcome(CopyThroughTemporary(from, to, stop, 0));
}

TResult SetModificationTime(const std::string& path, std::int64_t microseconds) {
  const OwnedHandle file(::CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  const FILETIME modified = win32::FileTimeOfMicroseconds(microseconds);
  if (file.valid() && ::SetFileTime(file.get(), nullptr, nullptr, &modified)) return {};
  return SystemFailure(win32::LastErrorNumber());
}

bool RemoveFile(const std::string& path) { return ::DeleteFileW(Wide(path).c_str()) != 0; }

TResult WriteFileReplacing(const std::string& path, std::string_view bytes) {
  return Succeeded(PlaceThroughTemporary(
                       path,
                       [&](HANDLE out, int& failure) {
                         DWORD put = 0;
                         const bool done = ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &put,
                                                       nullptr) && put == bytes.size();
                         if (!done) failure = win32::LastErrorNumber();
                         return done;
                       },
                       MOVEFILE_REPLACE_EXISTING));
}

}  // namespace platform
