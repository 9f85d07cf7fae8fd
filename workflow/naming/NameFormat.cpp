#include "workflow/naming/NameFormat.h"

#include <cstdio>

#include "Text/Ascii.h"
#include "workflow/dates/TimeShift.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view FormatFields = "YmdHMSfz%";

std::string Digits(unsigned value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*u", width, value);
  return buffer;
}

std::string CompactOffset(const TCreationTime& time) {
  if (!time.OffsetSeconds) return {};
  const int offset = *time.OffsetSeconds;
  const unsigned magnitude = static_cast<unsigned>(offset < 0 ? -offset : offset);
  return (offset < 0 ? "-" : "+") + Digits(magnitude / 3600, 2) + Digits(magnitude / 60 % 60, 2);
}

std::string ExpandField(char field, const TCreationTime& time) {
  switch (field) {
    case 'Y': return Digits(static_cast<unsigned>(time.Year), 4);
    case 'm': return Digits(time.Month, 2);
    case 'd': return Digits(time.Day, 2);
    case 'H': return Digits(time.Hour, 2);
    case 'M': return Digits(time.Minute, 2);
    case 'S': return Digits(time.Second, 2);
    case 'f': return Digits(time.Microsecond, 6);
    case 'z': return CompactOffset(time);
    case '%': return "%";
    default: return std::string{'%', field};
  }
}

}  // namespace

namespace {

// Empty when the part of a pattern between two delimiters can name a folder below the
// target folder whatever the date; otherwise why it cannot.
std::string CheckFolderPart(std::string_view part) {
  if (part.empty()) return "format has an empty part between \"/\" (\"//\", or \"/\" at its start or end)";
  if (part == "." || part == "..") return "format has a part \"" + std::string(part) + "\" between \"/\"";
  // %z gives nothing for a time without zone, which would leave the part empty.
  std::string_view rest = part;
  while (rest.starts_with("%z")) rest.remove_prefix(2);
  if (rest.empty()) return "format has a part made of %z alone, which is empty for a time without zone";
  return {};
}

// "U+0009": a control character named, since it shows as nothing where it is written.
std::string CodePointName(char character) {
  char name[8];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(static_cast<unsigned char>(character)));
  return name;
}

}  // namespace

std::string CheckNameFormat(std::string_view pattern) {
  // A control character would reach terminals and every program that lists the folder.
  for (const char character : pattern)
    if (text::IsAsciiControl(character)) return "format holds the control character " + CodePointName(character);
  for (std::size_t index = 0; index < pattern.size(); ++index) {
    if (pattern[index] != '%') continue;
    if (index + 1 == pattern.size()) return "format ends with a lone \"%\"";
    // "%{" was no field before the named ones: no pattern that stood means anything else now.
    if (pattern[index + 1] == '{') {
      std::string why;
      const std::optional<TNamedField> field = ReadNamedField(pattern, index, why);
      if (!field) return why;
      index += field->Length - 1;
      continue;
    }
    if (FormatFields.find(pattern[index + 1]) == std::string_view::npos)
      return "format field \"%" + std::string(1, pattern[index + 1]) + "\" is not one of %Y %m %d %H %M %S %f %z %%";
    ++index;
  }
  if (pattern.empty()) return {};
  // The fields give digits, signs and "%" only: a part that stands for the folder itself or
  // its parent is written so in the pattern, and every date would give it.
  if (pattern.find_first_of(platform::PathDelimiters) == std::string_view::npos) {
    if (pattern == "." || pattern == "..")
      return "format \"" + std::string(pattern) + "\" names no file (\".\" and \"..\" name folders)";
    return CheckFolderPart(pattern);
  }
  // Folders by date: every part must name a folder (or the file) below the target folder.
  // The parts are split as the name will be (on Windows at "\" too).
  for (std::size_t start = 0;;) {
    const std::size_t delimiter = pattern.find_first_of(platform::PathDelimiters, start);
    if (std::string problem = CheckFolderPart(pattern.substr(start, delimiter - start)); !problem.empty())
      return problem;
    if (delimiter == std::string_view::npos) break;
    start = delimiter + 1;
  }
  return {};
}

std::chrono::seconds TNamingOptions::ShiftFor(std::string_view model) const {
  std::chrono::seconds shift = Shift;
  for (const auto& [name, amount] : ShiftForModel)
    if (name == model) shift = amount;
  return shift;
}

std::string ExpandNameFormat(std::string_view pattern, const TCreationTime& time, const TNameFields& fields) {
  std::string name;
  bool emptyField = false;
  for (std::size_t index = 0; index < pattern.size(); ++index) {
    if (pattern.substr(index).starts_with("%{")) {
      std::string why;
      if (const std::optional<TNamedField> field = ReadNamedField(pattern, index, why)) {
        const std::string value = ExpandNamedField(*field, fields);
        name += value.empty() ? std::string(1, EmptyFieldMark) : value;
        emptyField = emptyField || value.empty();
        index += field->Length - 1;
        continue;
      }
    }
    if (pattern[index] == '%' && index + 1 < pattern.size()) {
      name += ExpandField(pattern[++index], time);
    } else {
      name += pattern[index];
    }
  }
  return emptyField ? TidyEmptyFields(name) : name;
}

TResolvedTime ResolveTime(const TCreationTime& time, const TNamingOptions& options) {
  TResolvedTime resolved{time, false};
  if (options.Shift.count()) {
    resolved.Time = ShiftedTime(time, options.Shift);
    resolved.Converted = true;
  }
  if (options.AssumeTz && (time.WrittenAsUtc || !time.OffsetSeconds)) {
    resolved.Time = options.AssumeTz->ReadAsWallTime(resolved.Time);
    resolved.Converted = true;
  }
  if (options.Tz && resolved.Time.OffsetSeconds) {
    resolved.Time = options.Tz->WallTimeAt(InstantOf(resolved.Time));
    resolved.Converted = true;
  }
  return resolved;
}

std::optional<std::string> NamePartFor(std::string_view creationTime, const TNamingOptions& options) {
  return NamePartFor(creationTime, ParseCreationTime(creationTime), options);
}

std::optional<std::string> NamePartFor(std::string_view creationTime, const std::optional<TCreationTime>& time,
                                       const TNamingOptions& options, const TNameFields& fields) {
  if (!options.Active()) return std::string(creationTime);
  if (!time) return std::nullopt;
  const TResolvedTime resolved = ResolveTime(*time, options);
  // A name has four digits for the year: a time shifted out of years 1 to 9999 (or
  // written there) has no name.
  if (resolved.Time.Year < 1 || resolved.Time.Year > 9999) return std::nullopt;
  if (!options.Format.empty()) return ExpandNameFormat(options.Format, resolved.Time, fields);
  return resolved.Converted ? FormatIsoCreationTime(resolved.Time) : std::string(creationTime);
}
