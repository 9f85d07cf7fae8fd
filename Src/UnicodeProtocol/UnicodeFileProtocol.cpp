#include "UnicodeProtocol/UnicodeFileProtocol.h"

#include <cstdint>
#include <string>

#include "FFLoad/MediaHeaders.h"
#include "UnicodeProtocol/UnicodeUrl.h"
#include "platform/RawFile.h"
#include "platform/Text.h"

namespace {

using ff::legacy::ConnectionRecord;

constexpr int kOpenFailed = -2;  // the libraries' "No such file or directory"
constexpr int kReadFlag = 1;
constexpr int kWriteFlag = 2;

// The slot holds the handle plus one, so that a connection whose slot the libraries left
// null counts as having no file rather than as the first handle number.
void StoreHandle(ConnectionRecord* connection, platform::FileHandle handle) {
  connection->priv_data = reinterpret_cast<void*>(static_cast<std::intptr_t>(handle) + 1);
}

platform::FileHandle StoredHandle(const ConnectionRecord* connection) {
  return static_cast<platform::FileHandle>(reinterpret_cast<std::intptr_t>(connection->priv_data) - 1);
}

platform::FileAccess AccessForFlags(int flags) {
  const bool read = flags & kReadFlag;
  const bool write = flags & kWriteFlag;
  if (read && write) return platform::FileAccess::ReadWrite;
  if (write) return platform::FileAccess::Write;
  return platform::FileAccess::Read;  // opens an existing file only: never creates or empties
}

int OpenConnection(ConnectionRecord* connection, const char* url, int flags) {
  try {
    const std::string name = platform::WideToNarrow(UnicodeUrlToName(url ? url : ""));
    const platform::FileHandle handle = platform::OpenRawFile(name, AccessForFlags(flags));
    if (handle == platform::InvalidFileHandle) return kOpenFailed;
    StoreHandle(connection, handle);
    return 0;
  } catch (...) {  // nothing may unwind into the libraries
    return kOpenFailed;
  }
}

int ReadConnection(ConnectionRecord* connection, unsigned char* buffer, int size) {
  return static_cast<int>(platform::ReadRawFile(StoredHandle(connection), buffer, size));
}

int WriteConnection(ConnectionRecord* connection, const unsigned char* buffer, int size) {
  return static_cast<int>(platform::WriteRawFile(StoredHandle(connection), buffer, size));
}

std::int64_t SeekConnection(ConnectionRecord* connection, std::int64_t position, int whence) {
  if (whence == AVSEEK_SIZE) return platform::RawFileSize(StoredHandle(connection));
  return platform::SeekRawFile(StoredHandle(connection), position, whence);
}

int CloseConnection(ConnectionRecord* connection) {
  const bool closed = platform::CloseRawFile(StoredHandle(connection));
  StoreHandle(connection, platform::InvalidFileHandle);
  return closed ? 0 : -1;
}

ff::legacy::ProtocolRecord gUnicodeFileProtocol = {
    .name = "unicode",
    .open = OpenConnection,
    .open2 = nullptr,
    .read = ReadConnection,
    .write = WriteConnection,
    .seek = SeekConnection,
    .close = CloseConnection,
    .next = nullptr,
    .read_pause = nullptr,
    .read_seek = nullptr,
    .get_file_handle = nullptr,
    .get_multi_file_handle = nullptr,
    .shutdown = nullptr,
    .priv_data_size = 0,
    .priv_data_class = nullptr,
    .flags = 0,
    .check = nullptr,
};

}  // namespace

ff::legacy::ProtocolRecord& UnicodeFileProtocol() { return gUnicodeFileProtocol; }
