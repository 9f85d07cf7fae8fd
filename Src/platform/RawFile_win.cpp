#include "platform/RawFile.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "platform/Win32Support.h"

namespace platform {

FileHandle OpenRawFile(const std::string& path, FileAccess access) {
  int flags = _O_BINARY | _O_NOINHERIT;
  switch (access) {
    case FileAccess::Read: flags |= _O_RDONLY; break;
    case FileAccess::Write: flags |= _O_WRONLY | _O_CREAT | _O_TRUNC; break;
    case FileAccess::ReadWrite: flags |= _O_RDWR | _O_CREAT | _O_TRUNC; break;
  }
  int fd = -1;
  if (::_wsopen_s(&fd, win32::Wide(path).c_str(), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0)
    return InvalidFileHandle;
  return fd;
}

// The run-time moves at most INT_MAX bytes per call.
std::int64_t ReadRawFile(FileHandle file, void* buffer, std::int64_t size) {
  if (size < 0) return -1;
  return ::_read(file, buffer, static_cast<unsigned>(std::min<std::int64_t>(size, 0x7FFFFFFF)));
}

std::int64_t WriteRawFile(FileHandle file, const void* buffer, std::int64_t size) {
  if (size < 0) return -1;
  return ::_write(file, buffer, static_cast<unsigned>(std::min<std::int64_t>(size, 0x7FFFFFFF)));
}

std::int64_t SeekRawFile(FileHandle file, std::int64_t position, int origin) {
  if (origin < 0 || origin > 2) return -1;
  return ::_lseeki64(file, position, origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : SEEK_SET);
}

std::int64_t RawFileSize(FileHandle file) {
  struct _stati64 info {};
  return ::_fstati64(file, &info) == 0 ? info.st_size : -1;
}

bool CloseRawFile(FileHandle file) { return file >= 0 && ::_close(file) == 0; }

}  // namespace platform
