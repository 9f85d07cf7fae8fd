// Companions: files that belong to a media file and travel with it under the same new
// base name. Sidecars ("IMG_1234.AAE", "IMG_1234.xmp", "IMG_1234.HEIC.xmp", .THM, .LRV,
// .SRT) and the clip of a Live Photo ("IMG_1234.MOV" beside "IMG_1234.HEIC" or ".JPG").
#pragma once
#include <map>
#include <string>
#include <vector>

// Finds companions, listing each folder once: a run asks for the companions of many files
// of one folder. A companion that is gone when asked for (an earlier row of the run took
// it along) is no longer offered.
class TCompanionFinder {
 public:
  // The companions of `mediaPath` in its folder, as full paths in the spelling of
  // `mediaPath`'s folder, sorted; regular files only, never the media file itself.
  std::vector<std::string> Find(const std::string& mediaPath);

 private:
  // The names of the regular files of a folder by their base name (without extension).
  using TListing = std::map<std::string, std::vector<std::string>>;
  // The listing of each folder asked for so far.
  std::map<std::string, TListing> Listings_;
};

// TCompanionFinder::Find with a listing of its own.
std::vector<std::string> FindCompanions(const std::string& mediaPath);

// The name that `companion` of `media` takes when `media` takes `mediaTarget`: the target's
// folder and base name, then what follows the media's base name in the companion's name
// ("IMG_1234.AAE" of "IMG_1234.HEIC" becomes "NEW.AAE" when the photo becomes "NEW.HEIC").
std::string CompanionTarget(const std::string& companion, const std::string& media, const std::string& mediaTarget);
