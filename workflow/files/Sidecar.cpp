#include "workflow/files/Sidecar.h"

#include <algorithm>

#include "Text/Ascii.h"
#include "workflow/naming/NewFileName.h"

namespace {

constexpr std::string_view SidecarExtensions[] = {".XMP", ".AAE", ".THM", ".LRV", ".SRT"};

std::string_view WithoutExtension(std::string_view name) {
  return name.substr(0, name.size() - ExtractExtension(name).size());
}

}  // namespace

std::optional<std::string> SidecarBase(std::string_view name) {
  const std::string extension = ExtractExtension(name);
  const bool sidecar =
      std::any_of(std::begin(SidecarExtensions), std::end(SidecarExtensions),
                  [&extension](std::string_view known) { return text::EqualsIgnoringAsciiCase(extension, known); });
  if (!sidecar || extension.size() == name.size()) return std::nullopt;
  return std::string(WithoutExtension(name));
}

bool IsSidecarOf(std::string_view name, std::string_view mediaName) {
  const std::optional<std::string> base = SidecarBase(name);
  if (!base) return false;
  if (*base == WithoutExtension(mediaName)) return true;
  return *base == mediaName && text::EqualsIgnoringAsciiCase(ExtractExtension(name), ".XMP");
}
