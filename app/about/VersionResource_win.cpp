#include "about/VersionResource.h"

#include "platform/Win32Support.h"

namespace versionresource {

std::uint32_t GetFileVersionInfoSize(const std::string& fileName) {
  DWORD ignored = 0;
  return ::GetFileVersionInfoSizeW(platform::win32::Wide(fileName).c_str(), &ignored);
}

bool GetFileVersionInfo(const std::string& fileName, std::uint32_t size, void* data) {
  return ::GetFileVersionInfoW(platform::win32::Wide(fileName).c_str(), 0, size, data) != 0;
}

bool VerQueryValue(const void* block, std::uint32_t, const std::u16string& subBlock, const void*& value,
                   std::uint32_t& length) {
  void* found = nullptr;
  UINT size = 0;
  if (!::VerQueryValueW(block, reinterpret_cast<const wchar_t*>(subBlock.c_str()), &found, &size)) return false;
  value = found;
  length = size;
  return true;
}

}  // namespace versionresource
