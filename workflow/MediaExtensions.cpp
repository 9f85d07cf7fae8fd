#include "workflow/MediaExtensions.h"

#include <algorithm>
#include <string>

#include "Text/Ascii.h"
#include "workflow/NewFileName.h"

namespace {

constexpr std::string_view Extensions[] = {
    // video
    ".3G2", ".3GP", ".3GPP", ".ASF", ".AVI", ".AVM", ".AVS", ".DAT", ".FLV", ".M2TS", ".M4V", ".MKV", ".MOV", ".MP4",
    ".MPEG", ".MPG", ".MTS", ".NSV", ".OGM", ".QT", ".RM", ".RMVB", ".TP", ".TS", ".VOB", ".WEBM", ".WMV",
    // audio
    ".AAC", ".AC3", ".APE", ".DTS", ".FLAC", ".M4A", ".M4B", ".MKA", ".MP2", ".MP3", ".MPA", ".MPC", ".OFR", ".OGG",
    ".OPUS", ".RA", ".TTA", ".WAV", ".WMA",
    // pictures
    ".BMP", ".GIF", ".HEIC", ".HEIF", ".JPEG", ".JPG", ".PNG"};

}  // namespace

std::span<const std::string_view> MediaExtensions() { return Extensions; }

bool HasMediaExtension(std::string_view fileName) {
  const std::string extension = ExtractExtension(fileName);
  return std::any_of(std::begin(Extensions), std::end(Extensions),
                     [&extension](std::string_view known) { return text::EqualsIgnoringAsciiCase(extension, known); });
}
