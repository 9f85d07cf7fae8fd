// The one formatter for the system's own texts.
//
//   %d  signed decimal          %x / %X  hexadecimal, always upper-case digits
//   %s  text                    %f       real, with the user's decimal separator
//   %p  pointer, upper-case hexadecimal zero-padded to the pointer's width
//   %%  a percent sign
//
// "%-16s": left-justified in at least 16 characters. A number before the point is a minimum
// width padded with blanks on the left, also when it begins with 0 ("%04x" pads with
// blanks). A precision zero-pads integers to that many digits ("%.8x"), gives reals that
// many decimals ("%.6f", default 2) and cuts texts to that many bytes.
// Arguments are checked at run time: a directive without a matching argument is written
// as it stands, never read from memory that is not there.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace text {

class FormatArg {
 public:
  enum class Kind { Integer, Real, Text, Pointer };

  template <typename T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
  FormatArg(T value) : kind_(Kind::Integer), integer_(static_cast<std::int64_t>(value)),
                       bits_(sizeof(T) * 8) {}
  FormatArg(double value) : kind_(Kind::Real), real_(value) {}
  FormatArg(std::string_view value) : kind_(Kind::Text), text_(value) {}
  FormatArg(const std::string& value) : kind_(Kind::Text), text_(value) {}
  FormatArg(const char* value) : kind_(Kind::Text), text_(value ? value : "") {}
  FormatArg(const void* value) : kind_(Kind::Pointer), pointer_(value) {}

  Kind kind() const { return kind_; }
  std::int64_t integer() const { return integer_; }
  int bits() const { return bits_; }
  double real() const { return real_; }
  std::string_view text() const { return text_; }
  const void* pointer() const { return pointer_; }

 private:
  Kind kind_;
  std::int64_t integer_ = 0;
  int bits_ = 64;
  double real_ = 0;
  std::string_view text_;
  const void* pointer_ = nullptr;
};

std::string Format(std::string_view format, std::initializer_list<FormatArg> args);

// As Format, with an explicit decimal separator (for tests and fixed-format output).
std::string FormatWithSeparator(std::string_view format, std::initializer_list<FormatArg> args,
                                char decimalSeparator);

}  // namespace text
