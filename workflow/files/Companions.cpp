#include "workflow/files/Companions.h"

#include <algorithm>

#include "Paths/PathHelpers.h"
#include "Text/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "workflow/naming/NewFileName.h"
#include "workflow/files/Sidecar.h"

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

std::vector<std::string> TCompanionFinder::Find(const std::string& mediaPath) {
  const std::string folder = ExtractFilePath(mediaPath);
  const std::string mediaName = ExtractFileName(mediaPath);
  auto listing = Listings_.find(folder);
  if (listing == Listings_.end()) {
    std::vector<platform::FolderEntry> entries;
    TListing names;
    // A folder that cannot be listed has no companions to offer; the media file's own row
    // still says whatever is wrong with it.
    platform::OpenFolder open;
    if (open.Open(folder.empty() ? "." : folder) && open.List(entries))
      for (const platform::FolderEntry& entry : entries)
        if (entry.Kind == platform::FolderEntryKind::File) names[WithoutExtension(entry.Name)].push_back(entry.Name);
    listing = Listings_.emplace(folder, std::move(names)).first;
  }
  const auto namesWithBase = [&listing](const std::string& base) -> const std::vector<std::string>& {
    static const std::vector<std::string> none;
    const auto found = listing->second.find(base);
    return found == listing->second.end() ? none : found->second;
  };
  const std::vector<std::string>& sameBase = namesWithBase(WithoutExtension(mediaName));
  // The clip of a Live Photo leaves the pair's sidecars to the photo.
  for (const std::string& name : sameBase)
    if (IsLivePhotoClipOf(mediaName, name)) return {};
  std::vector<std::string> companions;
  // Sidecars and a clip share the media file's base name; "NAME.EXT.xmp" has its whole name.
  for (const std::vector<std::string>* names : {&sameBase, &namesWithBase(mediaName)})
    for (const std::string& name : *names)
      if (name != mediaName && (IsSidecarOf(name, mediaName) || IsLivePhotoClipOf(name, mediaName)))
        companions.push_back(folder + name);
  std::sort(companions.begin(), companions.end());
  companions.erase(std::unique(companions.begin(), companions.end()), companions.end());
  std::erase_if(companions, [](const std::string& companion) {
    platform::FileStatus status;
    return !platform::GetFileStatus(companion, status);
  });
  return companions;
}

std::vector<std::string> FindCompanions(const std::string& mediaPath) { return TCompanionFinder().Find(mediaPath); }

std::string CompanionTarget(const std::string& companion, const std::string& media, const std::string& mediaTarget) {
  const std::string suffix = ExtractFileName(companion).substr(WithoutExtension(ExtractFileName(media)).size());
  return WithoutExtension(mediaTarget) + suffix;
}
