#include "workflow/dates/TimeShift.h"

#include <charconv>
#include <cstdio>

namespace {

// The whole of `text` as a number of at most `maxDigits` digits, no sign.
std::optional<long> Number(std::string_view text, std::size_t maxDigits) {
  long value = 0;
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::chrono::seconds> ParseTimeShift(std::string_view text, std::string& why) {
  why = "the amount must be [+|-][D ]HH:MM[:SS], such as -1:00 or \"+1 02:30\", not '" + std::string(text) + "'";
  std::string_view rest = text;
  const bool negative = rest.starts_with('-');
  if (rest.starts_with('-') || rest.starts_with('+')) rest.remove_prefix(1);
  long days = 0;
  if (const std::size_t blank = rest.find(' '); blank != std::string_view::npos) {
    const auto dayCount = Number(rest.substr(0, blank), 4);
    if (!dayCount) return std::nullopt;
    days = *dayCount;
    rest.remove_prefix(blank + 1);
  }
  const std::size_t colon = rest.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view minutesAndSeconds = rest.substr(colon + 1);
  const std::size_t second = minutesAndSeconds.find(':');
  const auto hours = Number(rest.substr(0, colon), 2);
  const std::string_view minutesText = minutesAndSeconds.substr(0, second);
  const auto minutes = minutesText.size() == 2 ? Number(minutesText, 2) : std::nullopt;
  std::optional<long> seconds = 0;
  if (second != std::string_view::npos) {
    const std::string_view secondsText = minutesAndSeconds.substr(second + 1);
    seconds = secondsText.size() == 2 ? Number(secondsText, 2) : std::nullopt;
  }
  if (!hours || !minutes || !seconds || *hours > 23 || *minutes > 59 || *seconds > 59) return std::nullopt;
  why.clear();
  const std::chrono::seconds amount = std::chrono::days(days) + std::chrono::hours(*hours) +
                                      std::chrono::minutes(*minutes) + std::chrono::seconds(*seconds);
  return negative ? -amount : amount;
}

std::string TimeShiftText(std::chrono::seconds shift) {
  const bool negative = shift.count() < 0;
  const long long total = negative ? -shift.count() : shift.count();
  char text[48];
  const long long days = total / 86400;
  if (days)
    std::snprintf(text, sizeof text, "%c%lld %02lld:%02lld:%02lld", negative ? '-' : '+', days, total / 3600 % 24,
                  total / 60 % 60, total % 60);
  else
    std::snprintf(text, sizeof text, "%c%02lld:%02lld:%02lld", negative ? '-' : '+', total / 3600, total / 60 % 60,
                  total % 60);
  return text;
}

TCreationTime ShiftedTime(const TCreationTime& time, std::chrono::seconds shift) {
  // The wall-clock reading moves as it is; read as UTC only to count in whole moments.
  TCreationTime wall = time;
  wall.OffsetSeconds.reset();
  TCreationTime shifted = UtcTimeOf(InstantOf(wall) + shift);
  shifted.OffsetSeconds = time.OffsetSeconds;
  shifted.WrittenAsUtc = time.WrittenAsUtc;
  return shifted;
}
