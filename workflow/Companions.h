// Companions: files that belong to a media file and travel with it under the same new
// base name. Sidecars ("IMG_1234.AAE", "IMG_1234.xmp", "IMG_1234.HEIC.xmp", .THM, .LRV,
// .SRT) and the clip of a Live Photo ("IMG_1234.MOV" beside "IMG_1234.HEIC" or ".JPG").
#pragma once
#include <string>
#include <vector>

// The companions of `mediaPath` in its folder, as full paths in the spelling of
// `mediaPath`'s folder, sorted; regular files only, never the media file itself.
std::vector<std::string> FindCompanions(const std::string& mediaPath);

// The name that `companion` of `media` takes when `media` takes `mediaTarget`: the target's
// folder and base name, then what follows the media's base name in the companion's name
// ("IMG_1234.AAE" of "IMG_1234.HEIC" becomes "NEW.AAE" when the photo becomes "NEW.HEIC").
std::string CompanionTarget(const std::string& companion, const std::string& media, const std::string& mediaTarget);
