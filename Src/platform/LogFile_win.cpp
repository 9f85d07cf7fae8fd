#include "platform/LogFile.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/Win32Support.h"

namespace platform {

namespace {

// Others may read the file while it is open here, but nobody else may write it: the
// system refuses a second writer.
FileHandle OpenShared(const std::string& path, int flags) {
  int fd = -1;
  if (::_wsopen_s(&fd, win32::Wide(path).c_str(), flags | _O_WRONLY | _O_APPEND | _O_BINARY | _O_NOINHERIT, _SH_DENYWR,
                  _S_IREAD | _S_IWRITE) != 0)
    return InvalidFileHandle;
  return fd;
}

}  // namespace

FileHandle OpenLogFileForAppend(const std::string& path) { return OpenShared(path, 0); }

FileHandle CreateLogFile(const std::string& path) {
  FileHandle fd = OpenShared(path, _O_CREAT | _O_EXCL);
  // Made by someone else between the caller's existence check and now: append, never empty it.
  if (fd == InvalidFileHandle && errno == EEXIST) fd = OpenShared(path, 0);
  return fd;
}

}  // namespace platform
