#include "workflow/undo/RunFolders.h"

#include <algorithm>
#include <set>

#include "Paths/PathHelpers.h"
#include "platform/FileSystem.h"

namespace {

std::string TrimDelimiters(std::string folder) {
  while (!folder.empty() && platform::IsPathDelimiter(static_cast<unsigned char>(folder.back()))) folder.pop_back();
  return folder;
}

// A root ("/", or a drive's "C:\" on Windows) or nothing: a folder that tells nothing of
// where the files were.
bool IsRootOrNone(const std::string& folder) {
  const std::string trimmed = TrimDelimiters(folder);
  return trimmed.empty() || (trimmed.size() == 2 && trimmed[1] == ':');
}

// The folder as people write it: without the delimiter at its end, except for a root.
std::string Shown(const std::string& folder) { return IsRootOrNone(folder) ? folder : TrimDelimiters(folder); }

// The deepest folder that holds both `a` and `b` (folders that end with their delimiter):
// the start they share, cut back to its last delimiter.
std::string CommonFolder(const std::string& a, const std::string& b) {
  const auto differ = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return ExtractFilePath(std::string_view(a).substr(0, static_cast<std::size_t>(differ.first - a.begin())));
}

}  // namespace

std::string RunFolderText(const TJournalRun& run) {
  std::set<std::string> folders;
  for (const TJournalRecord& record : run.Records) folders.insert(ExtractFilePath(record.OldPath));
  if (folders.empty()) return {};
  if (folders.size() == 1) return Shown(*folders.begin());
  // Sorted, the first and the last share the least: what they share, all share.
  const std::string common = CommonFolder(*folders.begin(), *folders.rbegin());
  const std::string count = std::to_string(folders.size()) + " folders";
  return IsRootOrNone(common) ? count : count + " within " + Shown(common);
}
