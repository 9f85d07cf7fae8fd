#include "platform/Text.h"

#include "Text/Utf8.h"

namespace platform {

std::string WideToNarrow(std::u16string_view text) { return text::Utf16ToUtf8(text, '?'); }

std::u16string NarrowToWide(std::string_view text) { return text::Utf8ToUtf16Lenient(text); }

}  // namespace platform
