// Sidecars: small files that belong to a media file beside it and share its name
// ("IMG_1234.AAE", "IMG_1234.xmp" or "IMG_1234.JPG.xmp" for "IMG_1234.JPG").
#pragma once
#include <optional>
#include <string>
#include <string_view>

// The part of a sidecar's name that names its media file (without folder), or nothing
// when the name has no sidecar extension (.xmp .aae .thm .lrv .srt, any letter case).
// A sidecar belongs to the media file whose name without extension is that part, or, for
// ".xmp", whose whole name is.
std::optional<std::string> SidecarBase(std::string_view name);

// True when `name` is a sidecar of the media file `mediaName`, both in one folder.
bool IsSidecarOf(std::string_view name, std::string_view mediaName);
