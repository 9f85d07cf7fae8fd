#include "UnicodeProtocol/UnicodeUrl.h"

#include "Base/Utf8.h"

namespace {

constexpr std::string_view kUnicodeUrlPrefix = "unicode:utf8:";

// The text behind the first ":"; all of it when there is none.
std::u16string_view AfterFirstColon(std::u16string_view text) {
  const size_t colon = text.find(u':');
  return colon == std::u16string_view::npos ? text : text.substr(colon + 1);
}

}  // namespace

bool IsUnicodeUrl(std::string_view text) {
  return text.size() > kUnicodeUrlPrefix.size() && text.starts_with(kUnicodeUrlPrefix);
}

std::string NameToUnicodeUrl(const std::u16string& fileName) {
  return std::string(kUnicodeUrlPrefix) + text::Utf16ToUtf8(fileName);
}

std::u16string UnicodeUrlToName(std::string_view url) {
  const std::u16string decoded = text::Utf8ToUtf16(url);
  return std::u16string(AfterFirstColon(AfterFirstColon(decoded)));
}
