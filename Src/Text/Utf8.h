// UTF-8 <-> UTF-16 conversions. Surrogate pairs map to four-byte sequences both ways.
#pragma once
#include <string>
#include <string_view>

namespace text {

// A lone surrogate, which UTF-8 cannot carry, becomes `replacement`.
std::string Utf16ToUtf8(std::u16string_view text, char replacement = '?');

// Malformed input (a bad lead or continuation byte, a truncated or overlong sequence, an
// encoded surrogate) gives the empty text.
std::u16string Utf8ToUtf16(std::string_view text);

// As above, but each malformed sequence becomes U+FFFD and decoding goes on.
std::u16string Utf8ToUtf16Lenient(std::string_view text);

}  // namespace text
