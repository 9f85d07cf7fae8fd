#include "workflow/dates/NameAndFileDates.h"

#include <chrono>
#include <regex>

#include "platform/FileSystem.h"
#include "workflow/dates/CreationTime.h"

namespace {

// Year, month, day, hour, minute, second and optional milliseconds, with "-" or nothing
// inside the date, "_", "-", "T" or a blank between date and time, and ".", "-" or
// nothing inside the time; no digit right before or after.
const std::regex& NameDatePattern() {
  static const std::regex pattern(
      R"((^|[^0-9])([0-9]{4})(-?)([0-9]{2})\3([0-9]{2})[_T -]([0-9]{2})([.-]?)([0-9]{2})\7([0-9]{2})([0-9]{3})?([^0-9]|$))");
  return pattern;
}

}  // namespace

std::optional<TFileDate> DateFromFileName(std::string_view fileName) {
  const std::size_t delimiter = fileName.find_last_of('/');
  const std::string name(fileName.substr(delimiter == std::string_view::npos ? 0 : delimiter + 1));
  std::smatch match;
  if (!std::regex_search(name, match, NameDatePattern())) return std::nullopt;
  std::string text = match[2].str() + "-" + match[4].str() + "-" + match[5].str() + "T" + match[6].str() + ":" +
                     match[8].str() + ":" + match[9].str();
  if (match[10].matched) text += "." + match[10].str() + "000";
  std::optional<TCreationTime> parsed = ParseCreationTime(text);
  if (!parsed) return std::nullopt;
  return TFileDate{"file name", text, parsed};
}

TModificationDate DateFromModificationTime(const std::string& fileName) {
  using namespace std::chrono;
  // Through the platform layer: it takes the name as UTF-8 and keeps the time's fraction
  // on every system.
  platform::FileStatus status;
  if (!platform::GetFileStatus(fileName, status)) return {};
  // Checked in seconds, before any conversion: the calendar's types end soon after.
  constexpr std::int64_t First = sys_seconds{sys_days{year{1} / January / 1}}.time_since_epoch().count();
  constexpr std::int64_t End = sys_seconds{sys_days{year{10000} / January / 1}}.time_since_epoch().count();
  if (status.modified.seconds < First || status.modified.seconds >= End) return {std::nullopt, true};
  const TInstant instant{seconds{status.modified.seconds} + microseconds{status.modified.nanoseconds / 1000}};
  const TCreationTime time = UtcTimeOf(instant);
  return {TFileDate{"file modification time", FormatIsoCreationTime(time), time}, false};
}
