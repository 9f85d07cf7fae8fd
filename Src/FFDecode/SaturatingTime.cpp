#include "FFDecode/SaturatingTime.h"

#include <limits>

#include "FFDecode/WideInteger.h"

namespace satime {
namespace {

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kSmallest = std::numeric_limits<std::int64_t>::min() + 1;

std::int64_t Clamp(TWideInt value) {
  if (value > kLargest) return kLargest;
  if (value < kSmallest) return kSmallest;
  return static_cast<std::int64_t>(value);
}

}  // namespace

std::int64_t Add(std::int64_t a, std::int64_t b) { return Clamp(static_cast<TWideInt>(a) + b); }

std::int64_t Subtract(std::int64_t a, std::int64_t b) { return Clamp(static_cast<TWideInt>(a) - b); }

std::int64_t Multiply(std::int64_t a, std::int64_t b) { return Clamp(static_cast<TWideInt>(a) * b); }

std::int64_t Rescale(std::int64_t a, AVRational from, AVRational to) {
  TWideInt numerator = static_cast<TWideInt>(a) * from.num * to.den;
  TWideInt denominator = static_cast<TWideInt>(from.den) * to.num;
  if (denominator == 0 || from.num == 0 || to.den == 0) return a;
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  const TWideInt half = denominator / 2;
  const TWideInt rounded = numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator;
  return Clamp(rounded);
}

}  // namespace satime
