#include "workflow/naming/NewFileName.h"

#include <algorithm>

#include "Paths/PathHelpers.h"
#include "Text/Ascii.h"
#include "platform/FileSystem.h"

namespace {

constexpr char Delimiter = platform::PathDelimiter;

}  // namespace

std::string ExtractExtension(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::size_t delimiter = fileName.find_last_of(platform::PathDelimiters);
  if (delimiter != std::string_view::npos && dot < delimiter) return {};
  return std::string(fileName.substr(dot));
}

std::string RenameFolderOf(std::string_view fileName) { return ExtractFilePath(fileName); }

std::string CopyFolderOf(std::string_view chosenFolder) {
  std::string folder(chosenFolder);
  if (folder.empty() || !platform::IsPathDelimiter(folder.back())) folder += Delimiter;
  return folder;
}

std::string MakeNewFileName(std::string_view folder, std::string_view creationTime, std::string_view fileName) {
  std::string name(creationTime);
  std::replace(name.begin(), name.end(), ':', '_');
  return std::string(folder) + name + ExtractExtension(fileName);
}

bool IsUsableNamePath(std::string_view namePart, bool foldersAllowed) {
  if (!foldersAllowed) return IsUsableNamePart(namePart);
  for (std::size_t start = 0;;) {
    // A pattern writes "/" between folders; Windows reads "\\" as well.
    const std::size_t slash = namePart.find_first_of(platform::PathDelimiters, start);
    if (!IsUsableNamePart(namePart.substr(start, slash - start))) return false;
    if (slash == std::string_view::npos) return true;
    start = slash + 1;
  }
}

std::string FoldersBelow(std::string_view folder, std::string_view target) {
  const std::size_t last = target.find_last_of(platform::PathDelimiters);
  if (last == std::string_view::npos || last < folder.size()) return {};
  return std::string(target.substr(folder.size(), last - folder.size()));
}

bool IsUsableNamePart(std::string_view creationTime) {
  // A control character would reach terminals and every program that lists the folder.
  return !creationTime.empty() && creationTime != "." && creationTime != ".." &&
         creationTime.find_first_of(platform::PathDelimiters) == std::string_view::npos &&
         std::none_of(creationTime.begin(), creationTime.end(), text::IsAsciiControl);
}
