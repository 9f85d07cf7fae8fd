#include "Paths/PathHelpers.h"

#include "Text/Format.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

constexpr char16_t kDelimiter = platform::PathDelimiter;

// Every character the system reads as a delimiter.
const std::u16string kDelimiterSet(std::begin(platform::PathDelimiters), std::end(platform::PathDelimiters) - 1);

// The narrow delimiters are bytes that UTF-8 never uses inside a multi-byte character, so
// a plain byte search only ever finds whole characters.
constexpr const char* kNarrowDelimiters = platform::PathDelimiters;

}  // namespace

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

int SurrogateType(std::u16string_view text, std::size_t position) {
  if (position < 1 || position > text.size()) return 0;
  const char16_t unit = text[position - 1];
  if (!IsSurrogate(unit)) return 0;
  return unit <= 0xDBFF ? 1 : 2;
}

std::u16string IncludeTrailingBackslashW(std::u16string_view text) {
  std::u16string result(text);
  if (result.empty() || !platform::IsPathDelimiter(result.back()) || SurrogateType(result, result.size()) != 0)
    result += kDelimiter;
  return result;
}

std::size_t LastDelimiterW(std::u16string_view delimiters, std::u16string_view text) {
  for (std::size_t position = text.size(); position >= 1; --position) {
    const char16_t unit = text[position - 1];
    if (unit != 0 && delimiters.find(unit) != std::u16string_view::npos) return position;
  }
  return 0;
}

std::u16string ExtractFilePathW(std::u16string_view path) {
  return std::u16string(path.substr(0, LastDelimiterW(kDelimiterSet, path)));
}

std::u16string ExtractFileNameW(std::u16string_view path) {
  return std::u16string(path.substr(LastDelimiterW(kDelimiterSet, path)));
}

// The UTF-16 helpers below hand their paths to the platform layer, which takes UTF-8.

bool FileExistsW(const std::u16string& path) { return FileExists(platform::WideToNarrow(path)); }

std::int64_t FileSizeByNameW(const std::u16string& path) {
  const std::string narrow = platform::WideToNarrow(path);
  if (!FileExists(narrow)) return -1;
  platform::FileStatus status;
  // The file may have gone, or turned into a folder, since the check above.
  if (!platform::GetFileStatus(platform::ExpandFileName(narrow), status) || !status.isRegularFile) return -1;
  return status.size;
}

std::u16string ExpandFileNameW(const std::u16string& path) {
  return platform::NarrowToWide(platform::ExpandFileName(platform::WideToNarrow(path)));
}

std::u16string GetExeFileNameW() { return platform::NarrowToWide(platform::GetExeFileName()); }

std::u16string GetExeFolder() { return ExtractFilePathW(GetExeFileNameW()); }

std::u16string GetCurrentDirW() {
  std::u16string folder = platform::NarrowToWide(platform::GetCurrentDir());
  if (auto zero = folder.find(u'\0'); zero != std::u16string::npos) folder.resize(zero);
  return folder;
}

bool SetCurrentDirW(const std::u16string& folder) { return platform::SetCurrentDir(platform::WideToNarrow(folder)); }

std::u16string GetEnvVarW(const std::u16string& name) {
  return platform::NarrowToWide(platform::GetEnvVar(platform::WideToNarrow(name)));
}

std::string SizeToStr(std::int64_t bytes) {
  constexpr std::int64_t KB = 1024;
  constexpr std::int64_t MB = KB * 1024;
  constexpr std::int64_t GB = MB * 1024;
  const double size = static_cast<double>(bytes);
  if (bytes > GB) return text::Format("%.2f GB", {size / GB});
  if (bytes > MB) return text::Format("%.2f MB", {size / MB});
  if (bytes > KB) return text::Format("%.2f KB", {size / KB});
  return text::Format("%d Byte", {bytes});
}

std::string ExtractFilePath(std::string_view path) {
  const auto delimiter = path.find_last_of(kNarrowDelimiters);
  return delimiter == std::string_view::npos ? std::string() : std::string(path.substr(0, delimiter + 1));
}

std::string ExtractFileName(std::string_view path) {
  const auto delimiter = path.find_last_of(kNarrowDelimiters);
  return std::string(delimiter == std::string_view::npos ? path : path.substr(delimiter + 1));
}

// Only regular files count: opening a pipe or a device as media could block forever.
bool FileExists(const std::string& path) {
  platform::FileStatus status;
  return platform::GetFileStatus(path, status) && status.isRegularFile;
}
