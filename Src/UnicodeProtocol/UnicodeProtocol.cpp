#include "UnicodeProtocol/UnicodeProtocol.h"

#include <algorithm>
#include <array>

#include "Base/Utf8.h"
#include "FFLoad/LoaderFollowUps.h"
#include "UnicodeProtocol/ProtocolRegistration.h"
#include "UnicodeProtocol/UnicodeFileProtocol.h"
#include "UnicodeProtocol/UnicodeUrl.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

bool UnicodeProtocolRegistered = false;

namespace {

constexpr std::string_view kFilePrefix = "file:";
// Names that begin with one of these protocols and a ":" are addresses, not file names.
constexpr std::string_view kKnownProtocols = ":unicode:stream:gopher:http:pipe:rtp:tcp:udp:";

// One buffer per thread, so that decoders on several threads can open files at once.
// Every name that the system can open fits.
thread_local std::array<char, platform::MaxPathBytes> tNameBuffer{};

}  // namespace

bool NeedsUnicodeProtocol(const std::u16string& fileName) {
  const size_t colon = fileName.find(u':');
  if (colon != std::u16string::npos) {
    const std::string key = platform::WideToNarrow(u":" + fileName.substr(0, colon) + u":");
    if (kKnownProtocols.find(key) != std::string_view::npos) return false;
  }
  return platform::NarrowToWide(platform::WideToNarrow(fileName)) != fileName;
}

const char* MapFileNameForOpen(const std::u16string& fileName) {
  // A name that came from bytes which are not UTF-8 goes back as those bytes.
  std::string bytes = text::Utf16ToUtf8Escaped(fileName);
  if (GuessImageCodec(bytes.c_str()) != 0) {
    if (UnicodeProtocolRegistered && NeedsUnicodeProtocol(fileName))
      bytes = NameToUnicodeUrl(fileName);
    else
      bytes = platform::WideToNarrow(fileName);
  }
  tNameBuffer.fill(0);
  if (bytes.size() >= tNameBuffer.size()) return nullptr;  // no room for the terminating zero
  std::copy(bytes.begin(), bytes.end(), tNameBuffer.begin());
  return tNameBuffer.data();
}

std::u16string MapFileNameFromContext(std::string_view stored) {
  // The stored name ends at its first zero, as the libraries see it; a file address stands
  // for the file behind the prefix.
  std::string_view stem = stored.substr(0, stored.find('\0'));
  if (stem.starts_with(kFilePrefix)) stem.remove_prefix(kFilePrefix.size());
  const std::string name(stem);
  if (GuessImageCodec(name.c_str()) != 0) {
    if (UnicodeProtocolRegistered && IsUnicodeUrl(name)) return UnicodeUrlToName(name);
    return platform::NarrowToWide(name);
  }
  return text::Utf8ToUtf16(name);
}

void RegisterUnicodeProtocol() { UnicodeProtocolRegistered = RegisterProtocol(&UnicodeFileProtocol()); }

namespace {

void RegisterWithFormats(int, bool) { RegisterUnicodeProtocol(); }

// The protocol matters only where names are mapped for opening, which this file does, so
// the registration is linked wherever it can matter.
[[maybe_unused]] const bool kFollowsTheLoader =
    AddLoaderFollowUp({.Libraries = LibraryBit(liAVFormat), .AfterLoad = RegisterWithFormats});

}  // namespace
