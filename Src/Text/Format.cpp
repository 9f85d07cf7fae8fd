#include "Text/Format.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/System.h"

namespace text {

namespace {

struct Directive {
  bool leftJustify = false;
  int width = -1;
  int precision = -1;
  char type = 0;
};

std::string Pad(std::string body, const Directive& d) {
  if (d.width > 0 && static_cast<int>(body.size()) < d.width) {
    std::string blanks(static_cast<size_t>(d.width) - body.size(), ' ');
    body = d.leftJustify ? body + blanks : blanks + body;
  }
  return body;
}

std::string ZeroPad(std::string digits, int precision) {
  if (precision > 0 && static_cast<int>(digits.size()) < precision)
    digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
  return digits;
}

std::string Decimal(const FormatArg& arg, const Directive& d) {
  std::int64_t value = arg.integer();
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : value;
  std::string digits = ZeroPad(std::to_string(magnitude), d.precision);
  return value < 0 ? "-" + digits : digits;
}

std::string Hexadecimal(const FormatArg& arg, const Directive& d) {
  std::uint64_t value = static_cast<std::uint64_t>(arg.integer());
  // A negative value shows its two's complement in the width of its own type.
  if (arg.integer() < 0 && arg.bits() < 64) value &= (std::uint64_t{1} << arg.bits()) - 1;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%" PRIX64, value);
  return ZeroPad(buffer, d.precision);
}

std::string Real(double value, const Directive& d, char separator) {
  int decimals = d.precision >= 0 ? d.precision : 2;
  std::vector<char> buffer(64 + static_cast<size_t>(decimals));
  int length = std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
  if (length < 0) return {};
  if (static_cast<size_t>(length) >= buffer.size()) {
    buffer.resize(static_cast<size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
  }
  std::string result(buffer.data());
  if (auto point = result.find('.'); point != std::string::npos) result[point] = separator;
  return result;
}

std::string Pointer(const void* value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*" PRIXPTR, static_cast<int>(sizeof(void*) * 2),
                reinterpret_cast<std::uintptr_t>(value));
  return buffer;
}

std::string Convert(const FormatArg& arg, const Directive& d, char separator) {
  using Kind = FormatArg::Kind;
  switch (d.type) {
    case 'd':
    case 'u':
      if (arg.kind() == Kind::Integer) return Decimal(arg, d);
      break;
    case 'x':
      if (arg.kind() == Kind::Integer) return Hexadecimal(arg, d);
      break;
    case 'f':
      if (arg.kind() == Kind::Real) return Real(arg.real(), d, separator);
      if (arg.kind() == Kind::Integer) return Real(static_cast<double>(arg.integer()), d, separator);
      break;
    case 's':
      if (arg.kind() == Kind::Text) {
        std::string_view text = arg.text();
        if (d.precision >= 0 && static_cast<size_t>(d.precision) < text.size())
          text = text.substr(0, static_cast<size_t>(d.precision));
        return std::string(text);
      }
      break;
    case 'p':
      if (arg.kind() == Kind::Pointer) return Pointer(arg.pointer());
      break;
  }
  return "<bad argument>";
}

}  // namespace

std::string FormatWithSeparator(std::string_view format, std::initializer_list<FormatArg> args,
                                char decimalSeparator) {
  std::string out;
  out.reserve(format.size() + 16 * args.size());
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    size_t start = i++;
    Directive d;
    if (i < format.size() && format[i] == '-') d.leftJustify = true, ++i;
    auto number = [&] {
      int value = -1;
      while (i < format.size() && format[i] >= '0' && format[i] <= '9')
        value = (value < 0 ? 0 : value * 10) + (format[i++] - '0');
      return value;
    };
    d.width = number();
    if (i < format.size() && format[i] == '.') {
      ++i;
      d.precision = std::max(number(), 0);
    }
    if (i >= format.size()) {
      out.append(format.substr(start));
      break;
    }
    char type = format[i];
    d.type = static_cast<char>(type >= 'A' && type <= 'Z' ? type - 'A' + 'a' : type);
    if (d.type == '%') {
      out += '%';
      continue;
    }
    if (next == args.end()) {
      out.append(format.substr(start, i - start + 1));
      continue;
    }
    out += Pad(Convert(*next++, d, decimalSeparator), d);
  }
  return out;
}

std::string Format(std::string_view format, std::initializer_list<FormatArg> args) {
  return FormatWithSeparator(format, args, platform::DecimalSeparator());
}

}  // namespace text
