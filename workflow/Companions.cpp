#include "workflow/Companions.h"

#include <algorithm>

#include "Paths/PathHelpers.h"
#include "Text/Ascii.h"
#include "platform/FolderListing.h"
#include "platform/Text.h"
#include "workflow/NewFileName.h"
#include "workflow/Sidecar.h"

namespace {

std::string WithoutExtension(const std::string& name) { return name.substr(0, name.size() - ExtractExtension(name).size()); }

bool HasExtension(const std::string& name, std::initializer_list<std::string_view> extensions) {
  const std::string extension = ExtractExtension(name);
  return std::any_of(extensions.begin(), extensions.end(),
                     [&extension](std::string_view known) { return text::EqualsIgnoringAsciiCase(extension, known); });
}

// The clip that a phone saves beside a Live Photo, under the photo's name.
bool IsLivePhotoClipOf(const std::string& name, const std::string& mediaName) {
  return HasExtension(mediaName, {".HEIC", ".HEIF", ".JPG", ".JPEG"}) && HasExtension(name, {".MOV"}) &&
         WithoutExtension(name) == WithoutExtension(mediaName);
}

}  // namespace

std::vector<std::string> FindCompanions(const std::string& mediaPath) {
  const std::string folder = ExtractFilePath(mediaPath);
  const std::string mediaName = ExtractFileName(mediaPath);
  std::vector<platform::FolderEntry> entries;
  std::string error;
  // A folder that cannot be listed has no companions to offer; the media file's own row
  // still says whatever is wrong with it.
  if (!platform::ListFolder(platform::NarrowToWide(folder.empty() ? "." : folder), entries, error)) return {};
  std::vector<std::string> companions;
  for (const platform::FolderEntry& entry : entries) {
    if (entry.Kind != platform::FolderEntryKind::File) continue;
    const std::string name = platform::WideToNarrow(entry.Name);
    // The clip of a Live Photo leaves the pair's sidecars to the photo.
    if (IsLivePhotoClipOf(mediaName, name)) return {};
    if (name != mediaName && (IsSidecarOf(name, mediaName) || IsLivePhotoClipOf(name, mediaName)))
      companions.push_back(folder + name);
  }
  std::sort(companions.begin(), companions.end());
  return companions;
}

std::string CompanionTarget(const std::string& companion, const std::string& media, const std::string& mediaTarget) {
  const std::string suffix = ExtractFileName(companion).substr(WithoutExtension(ExtractFileName(media)).size());
  return WithoutExtension(mediaTarget) + suffix;
}
