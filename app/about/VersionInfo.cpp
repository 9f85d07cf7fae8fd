#include "about/VersionInfo.h"

#include "Base/Utf8.h"
#include "Text/Format.h"
#include "about/VersionResource.h"

namespace {

std::uint32_t LittleEndian32(const unsigned char* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// Offsets into the fixed part (VS_FIXEDFILEINFO) of the file version's two halves.
constexpr std::uint32_t kFileVersionHigh = 8;
constexpr std::uint32_t kFileVersionLow = 12;
constexpr std::uint32_t kFixedPartMinSize = 16;

}  // namespace

TVersionInfo::TVersionInfo(const std::string& fileName) : fileName_(fileName) {
  size_ = versionresource::GetFileVersionInfoSize(fileName_);
  if (size_ == 0) return;
  data_.resize(size_);
  valid_ = versionresource::GetFileVersionInfo(fileName_, size_, data_.data());
}

std::u16string TVersionInfo::FileVersion() const {
  if (!valid_) return {};
  std::u16string version = StringValue(u"\\StringFileInfo\\" + TranslationKey() + u"\\FileVersion");
  if (version.empty()) version = FixedFileVersion();
  return version;
}

// Language first, then code page: "041203B5". Empty when the block lists no translation.
std::u16string TVersionInfo::TranslationKey() const {
  const void* value = nullptr;
  std::uint32_t length = 0;
  if (!versionresource::VerQueryValue(data_.data(), size_, u"\\VarFileInfo\\Translation", value, length) ||
      length < 4)
    return {};
  const std::uint32_t entry = LittleEndian32(static_cast<const unsigned char*>(value));
  const std::uint32_t languageFirst = (entry & 0xFFFF) << 16 | entry >> 16;
  return text::Utf8ToUtf16(text::Format("%.8X", {languageFirst}));
}

// The text up to its terminating zero.
std::u16string TVersionInfo::StringValue(const std::u16string& path) const {
  const void* value = nullptr;
  std::uint32_t length = 0;
  if (!versionresource::VerQueryValue(data_.data(), size_, path, value, length)) return {};
  const auto* bytes = static_cast<const unsigned char*>(value);
  // A damaged block may mark a text entry as binary, whose length counts bytes, not units.
  const std::size_t room = static_cast<std::size_t>(data_.data() + data_.size() - bytes) / 2;
  if (length > room) length = static_cast<std::uint32_t>(room);
  std::u16string text;
  for (std::uint32_t i = 0; i < length; ++i) {
    const char16_t unit = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    if (unit == 0) break;
    text += unit;
  }
  return text;
}

std::u16string TVersionInfo::FixedFileVersion() const {
  const void* value = nullptr;
  std::uint32_t length = 0;
  if (!versionresource::VerQueryValue(data_.data(), size_, u"\\", value, length) ||
      length < kFixedPartMinSize)
    return {};
  const auto* fixed = static_cast<const unsigned char*>(value);
  const std::uint32_t high = LittleEndian32(fixed + kFileVersionHigh);
  const std::uint32_t low = LittleEndian32(fixed + kFileVersionLow);
  return text::Utf8ToUtf16(
      text::Format("%d.%d.%d.%d", {high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF}));
}
