#include "FFDecode/StreamInfo.h"

#include <cctype>
#include <limits>

#include "FFLoad/EntryPoints.h"

namespace {

constexpr std::int64_t kLargestAspectTerm = 1048576;

int DigitValue(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::int32_t StrToIntOrZero(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return 0;
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return 0;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (value > limit) return 0;
  }
  const auto pattern = static_cast<std::uint32_t>(value);
  return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
}

AVRational DisplayAspectOf(std::int32_t width, std::int32_t height, AVRational sampleAspect) {
  AVRational display{0, 1};
  ff::avutil.av_reduce(&display.num, &display.den, std::int64_t{width} * sampleAspect.num,
                       std::int64_t{height} * sampleAspect.den, kLargestAspectTerm);
  return display;
}
