#include "workflow/dates/CreationTime.h"

#include <cstdio>

namespace {

// Reads exactly `count` decimal digits at `position` and moves past them.
std::optional<unsigned> TakeDigits(std::string_view text, std::size_t& position, std::size_t count) {
  if (text.size() - position < count) return std::nullopt;
  unsigned value = 0;
  for (std::size_t index = 0; index < count; ++index) {
    const char digit = text[position + index];
    if (digit < '0' || digit > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(digit - '0');
  }
  position += count;
  return value;
}

bool TakeChar(std::string_view text, std::size_t& position, char expected) {
  if (position >= text.size() || text[position] != expected) return false;
  ++position;
  return true;
}

// The digits after the decimal point, as microseconds (shorter fractions padded, longer cut).
std::optional<std::uint32_t> TakeFraction(std::string_view text, std::size_t& position) {
  const std::size_t start = position;
  std::uint32_t microseconds = 0;
  for (; position < text.size() && text[position] >= '0' && text[position] <= '9'; ++position)
    if (position - start < 6) microseconds = microseconds * 10 + static_cast<std::uint32_t>(text[position] - '0');
  const std::size_t digits = position - start;
  if (digits == 0) return std::nullopt;
  for (std::size_t padding = digits; padding < 6; ++padding) microseconds *= 10;
  return microseconds;
}

// "Z", or a sign with hours and optional minutes, with or without ":" between them.
bool TakeZone(std::string_view text, std::size_t& position, TCreationTime& time) {
  if (TakeChar(text, position, 'Z')) {
    time.OffsetSeconds = 0;
    time.WrittenAsUtc = true;
    return true;
  }
  const char sign = text[position++];
  if (sign != '+' && sign != '-') return false;
  const auto hours = TakeDigits(text, position, 2);
  if (!hours || *hours > 23) return false;
  unsigned minutes = 0;
  if (position < text.size()) {
    TakeChar(text, position, ':');
    const auto taken = TakeDigits(text, position, 2);
    if (!taken || *taken > 59) return false;
    minutes = *taken;
  }
  const int offset = static_cast<int>(*hours * 3600 + minutes * 60);
  time.OffsetSeconds = sign == '-' ? -offset : offset;
  return true;
}

std::chrono::year_month_day DateOf(const TCreationTime& time) {
  return std::chrono::year{time.Year} / std::chrono::month{time.Month} / std::chrono::day{time.Day};
}

}  // namespace

std::optional<TCreationTime> ParseCreationTime(std::string_view text) {
  TCreationTime time;
  std::size_t position = 0;
  const auto year = TakeDigits(text, position, 4);
  if (!year || !TakeChar(text, position, '-')) return std::nullopt;
  const auto month = TakeDigits(text, position, 2);
  if (!month || !TakeChar(text, position, '-')) return std::nullopt;
  const auto day = TakeDigits(text, position, 2);
  if (!day || !(TakeChar(text, position, 'T') || TakeChar(text, position, ' '))) return std::nullopt;
  const auto hour = TakeDigits(text, position, 2);
  if (!hour || !TakeChar(text, position, ':')) return std::nullopt;
  const auto minute = TakeDigits(text, position, 2);
  if (!minute || !TakeChar(text, position, ':')) return std::nullopt;
  const auto second = TakeDigits(text, position, 2);
  if (!second) return std::nullopt;
  time.Year = static_cast<int>(*year);
  time.Month = *month;
  time.Day = *day;
  time.Hour = *hour;
  time.Minute = *minute;
  time.Second = *second;
  if (!DateOf(time).ok() || time.Hour > 23 || time.Minute > 59 || time.Second > 59) return std::nullopt;
  if (TakeChar(text, position, '.')) {
    const auto fraction = TakeFraction(text, position);
    if (!fraction) return std::nullopt;
    time.Microsecond = *fraction;
  }
  if (position < text.size() && !TakeZone(text, position, time)) return std::nullopt;
  if (position != text.size()) return std::nullopt;
  return time;
}

TInstant InstantOf(const TCreationTime& time) {
  using namespace std::chrono;
  const sys_days day{DateOf(time)};
  return TInstant{day} + hours{time.Hour} + minutes{time.Minute} + seconds{time.Second} +
         microseconds{time.Microsecond} - seconds{time.OffsetSeconds.value_or(0)};
}

TCreationTime UtcTimeOf(TInstant instant) {
  using namespace std::chrono;
  const auto day = floor<days>(instant);
  const year_month_day date(day);
  const hh_mm_ss clock(instant - day);
  TCreationTime time;
  time.Year = static_cast<int>(date.year());
  time.Month = static_cast<unsigned>(date.month());
  time.Day = static_cast<unsigned>(date.day());
  time.Hour = static_cast<unsigned>(clock.hours().count());
  time.Minute = static_cast<unsigned>(clock.minutes().count());
  time.Second = static_cast<unsigned>(clock.seconds().count());
  time.Microsecond = static_cast<std::uint32_t>(clock.subseconds().count());
  time.OffsetSeconds = 0;
  time.WrittenAsUtc = true;
  return time;
}

std::string FormatIsoCreationTime(const TCreationTime& time) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02u:%02u:%02u.%06u", time.Year, time.Month, time.Day, time.Hour,
                time.Minute, time.Second, static_cast<unsigned>(time.Microsecond));
  std::string text = buffer;
  if (time.WrittenAsUtc) return text + "Z";
  if (!time.OffsetSeconds) return text;
  const int offset = *time.OffsetSeconds;
  const unsigned magnitude = static_cast<unsigned>(offset < 0 ? -offset : offset);
  std::snprintf(buffer, sizeof buffer, "%c%02u:%02u", offset < 0 ? '-' : '+', magnitude / 3600, magnitude / 60 % 60);
  text += buffer;
  if (magnitude % 60 != 0) {
    std::snprintf(buffer, sizeof buffer, ":%02u", magnitude % 60);
    text += buffer;
  }
  return text;
}
