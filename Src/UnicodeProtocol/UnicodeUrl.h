// The "unicode:utf8:" addresses that carry a UTF-16 file name to the "unicode" protocol.
#pragma once
#include <string>
#include <string_view>

bool IsUnicodeUrl(std::string_view text);
std::string NameToUnicodeUrl(const std::u16string& fileName);
std::u16string UnicodeUrlToName(std::string_view url);
