#include "workflow/lookup/CreationTimeText.h"

#include "FFDecode/FileInfoText.h"
#include "Text/Ascii.h"

const std::string& CreationTimeKey() {
  static const std::string key = [] {
    const std::string prefix = MetadataLinePrefix("", "creation_time");
    return prefix.substr(0, prefix.rfind(':'));
  }();
  return key;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t found; (found = text.find(from, start)) != std::string_view::npos; start = found + from.size()) {
    result.append(text, start, found - start);
    result.append(to);
  }
  result.append(text, start);
  return result;
}

std::optional<std::string> ValueBehindKey(std::string_view line, std::string_view key) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || !text::EqualsIgnoringAsciiCase(line.substr(0, equals), key))
    return std::nullopt;
  return std::string(line.substr(equals + 1));
}

std::string FindKeyValue(const ILineBuffer& lines, std::string_view key) {
  const std::size_t count = lines.Count();
  for (std::size_t index = 0; index < count; ++index)
    if (std::optional<std::string> value = ValueBehindKey(lines.Line(index), key)) return std::move(*value);
  return {};
}

std::string CreationTimeFromReport(ILineBuffer& lines, std::string_view report) {
  // " : " never spans a line break, so replacing before the one split gives the lines that
  // splitting, joining and splitting again would give.
  lines.SetText(ReplaceAll(report, " : ", " = "));
  return FindKeyValue(lines, CreationTimeKey());
}
