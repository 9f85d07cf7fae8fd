// A signed integer of at least 128 bits for the time arithmetic: the compiler's own where it
// has one, else a small sign-and-magnitude stand-in (32-bit targets) with the few
// operations that the arithmetic uses. Values stay within +-(2^127 - 1).
#pragma once
#include <compare>
#include <cstdint>

#ifdef __SIZEOF_INT128__
using TWideInt = __int128;
#else
class TWideInt {
 public:
  TWideInt(std::int64_t value = 0)  // NOLINT: converts like the built-in type
      : Negative_(value < 0), High_(0), Low_(value < 0 ? 0 - static_cast<std::uint64_t>(value) : value) {}

  explicit operator std::int64_t() const {
    const std::uint64_t low = Negative_ ? 0 - Low_ : Low_;
    return static_cast<std::int64_t>(low);
  }

  TWideInt operator-() const {
    TWideInt result = *this;
    result.Negative_ = !Negative_ && !IsZero();
    return result;
  }
  friend TWideInt operator+(const TWideInt& a, const TWideInt& b) {
    if (a.Negative_ == b.Negative_) return Signed(a.Negative_, AddMagnitudes(a, b));
    // Opposite signs: the larger magnitude keeps its sign.
    if (CompareMagnitudes(a, b) >= 0) return Signed(a.Negative_, SubtractMagnitudes(a, b));
    return Signed(b.Negative_, SubtractMagnitudes(b, a));
  }
  friend TWideInt operator-(const TWideInt& a, const TWideInt& b) { return a + -b; }
  friend TWideInt operator*(const TWideInt& a, const TWideInt& b) {
    // Every product of the time arithmetic has one factor within 64 bits.
    const TWideInt& wide = a.High_ ? a : b;
    const std::uint64_t factor = a.High_ ? b.Low_ : a.Low_;
    TWideInt result = MultiplyMagnitude(wide.Low_, factor);
    result.High_ += wide.High_ * factor;
    return Signed(a.Negative_ != b.Negative_, result);
  }
  friend TWideInt operator/(const TWideInt& a, const TWideInt& b) {
    // Long division, one bit at a time; the divisor fits 64 bits here too.
    TWideInt quotient;
    std::uint64_t remainder = 0;
    for (int bit = 127; bit >= 0; --bit) {
      const bool carry = remainder >> 63;
      remainder = (remainder << 1) | ((bit >= 64 ? a.High_ >> (bit - 64) : a.Low_ >> bit) & 1);
      if (carry || remainder >= b.Low_) {
        remainder -= b.Low_;
        (bit >= 64 ? quotient.High_ : quotient.Low_) |= std::uint64_t{1} << (bit % 64);
      }
    }
    return Signed(a.Negative_ != b.Negative_, quotient);
  }
  friend std::strong_ordering operator<=>(const TWideInt& a, const TWideInt& b) {
    if (a.Negative_ != b.Negative_) return a.Negative_ ? std::strong_ordering::less : std::strong_ordering::greater;
    const int order = a.Negative_ ? CompareMagnitudes(b, a) : CompareMagnitudes(a, b);
    return order <=> 0;
  }
  friend bool operator==(const TWideInt& a, const TWideInt& b) { return (a <=> b) == 0; }

 private:
  bool IsZero() const { return High_ == 0 && Low_ == 0; }
  static TWideInt Signed(bool negative, TWideInt magnitude) {
    magnitude.Negative_ = negative && !magnitude.IsZero();
    return magnitude;
  }
  static int CompareMagnitudes(const TWideInt& a, const TWideInt& b) {
    if (a.High_ != b.High_) return a.High_ < b.High_ ? -1 : 1;
    return a.Low_ < b.Low_ ? -1 : a.Low_ > b.Low_ ? 1 : 0;
  }
  static TWideInt AddMagnitudes(const TWideInt& a, const TWideInt& b) {
    TWideInt sum;
    sum.Low_ = a.Low_ + b.Low_;
    sum.High_ = a.High_ + b.High_ + (sum.Low_ < a.Low_);
    return sum;
  }
  // a's magnitude is at least b's.
  static TWideInt SubtractMagnitudes(const TWideInt& a, const TWideInt& b) {
    TWideInt difference;
    difference.Low_ = a.Low_ - b.Low_;
    difference.High_ = a.High_ - b.High_ - (a.Low_ < b.Low_);
    return difference;
  }
  static TWideInt MultiplyMagnitude(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t aLow = a & 0xFFFFFFFF, aHigh = a >> 32, bLow = b & 0xFFFFFFFF, bHigh = b >> 32;
    const std::uint64_t low = aLow * bLow, middle1 = aHigh * bLow, middle2 = aLow * bHigh, high = aHigh * bHigh;
    const std::uint64_t carry = ((low >> 32) + (middle1 & 0xFFFFFFFF) + (middle2 & 0xFFFFFFFF)) >> 32;
    TWideInt product;
    product.Low_ = low + (middle1 << 32) + (middle2 << 32);
    product.High_ = high + (middle1 >> 32) + (middle2 >> 32) + carry;
    return product;
  }

  bool Negative_;
  std::uint64_t High_;
  std::uint64_t Low_;
};
#endif
