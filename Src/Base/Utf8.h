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

// Byte strings that are not all UTF-8, such as file names on POSIX systems: each byte of a
// malformed sequence becomes the lone surrogate U+DC00 + byte and decoding goes on, and
// Utf16ToUtf8Escaped turns such a surrogate back into its byte, so that any byte string
// survives the trip to UTF-16 and back unchanged.
std::u16string Utf8ToUtf16Escaped(std::string_view text);
std::string Utf16ToUtf8Escaped(std::u16string_view text, char replacement = '?');

}  // namespace text
