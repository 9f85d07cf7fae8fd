#include "platform/VersionResource.h"

#include "platform/Win32Support.h"

namespace platform {

std::uint32_t GetFileVersionInfoSize(const std::u16string& fileName) {
  DWORD ignored = 0;
  return ::GetFileVersionInfoSizeW(win32::Wide(fileName), &ignored);
}

bool GetFileVersionInfo(const std::u16string& fileName, std::uint32_t size, void* data) {
  return ::GetFileVersionInfoW(win32::Wide(fileName), 0, size, data) != 0;
}

bool VerQueryValue(const void* block, std::uint32_t, const std::u16string& subBlock, const void*& value,
                   std::uint32_t& length) {
  void* found = nullptr;
  UINT size = 0;
  if (!::VerQueryValueW(block, win32::Wide(subBlock), &found, &size)) return false;
  value = found;
  length = size;
  return true;
}

}  // namespace platform
