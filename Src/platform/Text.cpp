#include "platform/Text.h"

#include "Base/Utf8.h"

namespace platform {

std::string WideToNarrow(std::u16string_view text) { return text::Utf16ToUtf8Escaped(text, '?'); }

std::u16string NarrowToWide(std::string_view text) { return text::Utf8ToUtf16Escaped(text); }

}  // namespace platform
