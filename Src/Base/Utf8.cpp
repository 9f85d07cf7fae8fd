#include "Base/Utf8.h"

#include <optional>

namespace text {

namespace {

bool IsLead(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsTrail(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void Append(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void Append(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out += static_cast<char16_t>(code);
  } else {
    code -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code >> 10));
    out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  }
}

// Decodes one sequence at `pos`; nullopt when it is malformed (then `pos` moves by one).
std::optional<char32_t> Decode(std::string_view text, size_t& pos) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos);
  size_t start = pos++;
  if (lead < 0x80) return lead;
  int length;
  char32_t code;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (start + length > text.size()) return std::nullopt;
  for (int i = 1; i < length; ++i) {
    unsigned char next = byte(start + i);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  pos = start + length;
  return code;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text, char replacement) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    if (IsLead(unit) && i + 1 < text.size() && IsTrail(text[i + 1])) {
      Append(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsLead(unit) || IsTrail(unit)) {
      out += replacement;
    } else {
      Append(out, unit);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    auto code = Decode(text, pos);
    if (!code) return {};
    Append(out, *code);
  }
  return out;
}

std::u16string Utf8ToUtf16Escaped(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    if (auto code = Decode(text, pos))
      Append(out, *code);
    else
      out += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(text[start]));
  }
  return out;
}

std::string Utf16ToUtf8Escaped(std::u16string_view text, char replacement) {
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    // An escaped byte is a trail surrogate of 0xDC80..0xDCFF that follows no lead surrogate.
    const bool escaped = text[i] >= 0xDC80 && text[i] <= 0xDCFF && (i == 0 || !IsLead(text[i - 1]));
    if (!escaped) continue;
    out += Utf16ToUtf8(text.substr(from, i - from), replacement);
    out += static_cast<char>(text[i] - 0xDC00);
    from = i + 1;
  }
  out += Utf16ToUtf8(text.substr(from), replacement);
  return out;
}

}  // namespace text
