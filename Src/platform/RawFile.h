// Unbuffered file handles for I/O that the media libraries drive through a protocol.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

using FileHandle = int;
inline constexpr FileHandle InvalidFileHandle = -1;

enum class FileAccess { Read, Write, ReadWrite };

// Read opens an existing file; Write and ReadWrite create the file or empty it.
FileHandle OpenRawFile(const std::string& path, FileAccess access);
// Bytes moved, 0 at the end of the file, -1 on failure.
std::int64_t ReadRawFile(FileHandle file, void* buffer, std::int64_t size);
std::int64_t WriteRawFile(FileHandle file, const void* buffer, std::int64_t size);
// origin: 0 from the start, 1 from the current position, 2 from the end. New position or -1.
std::int64_t SeekRawFile(FileHandle file, std::int64_t position, int origin);
// Size in bytes or -1.
std::int64_t RawFileSize(FileHandle file);
bool CloseRawFile(FileHandle file);

// A handle of OpenRawFile, closed on every way out.
class OwnedRawFile {
 public:
  OwnedRawFile(const std::string& path, FileAccess access) : Handle_(OpenRawFile(path, access)) {}
  ~OwnedRawFile() {
    if (valid()) CloseRawFile(Handle_);
  }
  OwnedRawFile(const OwnedRawFile&) = delete;
  OwnedRawFile& operator=(const OwnedRawFile&) = delete;

  bool valid() const { return Handle_ != InvalidFileHandle; }
  FileHandle get() const { return Handle_; }

 private:
  FileHandle Handle_;
};

}  // namespace platform
