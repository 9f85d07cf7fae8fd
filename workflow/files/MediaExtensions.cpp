#include "workflow/files/MediaExtensions.h"

#include <algorithm>
#include <string>

#include "Text/Ascii.h"
#include "workflow/naming/NewFileName.h"

bool HasMediaExtension(std::string_view fileName) {
  const std::string extension = ExtractExtension(fileName);
  const auto known = [&extension](std::string_view candidate) {
    return text::EqualsIgnoringAsciiCase(extension, candidate);
  };
  using namespace media_extensions;
  return std::ranges::any_of(Video, known) || std::ranges::any_of(Audio, known) || std::ranges::any_of(Picture, known) ||
         std::ranges::any_of(More, known);
}
