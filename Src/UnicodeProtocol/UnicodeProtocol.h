// Mapping UTF-16 file names to the bytes the libraries' open call takes and back, and the
// "unicode" I/O protocol that opens a file through the platform's UTF-16 file interface.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "UnicodeProtocol/UnicodeUrl.h"

extern bool UnicodeProtocolRegistered;

// The name bytes for the container open, in a buffer of the calling thread: valid until
// that thread's next call. The buffer holds the longest path the system opens; a longer
// name gives nullptr.
const char* MapFileNameForOpen(const std::u16string& fileName);
std::u16string MapFileNameFromContext(std::string_view stored);
void RegisterUnicodeProtocol();

std::int32_t GuessImageCodec(const char* name);
bool NeedsUnicodeProtocol(const std::u16string& fileName);
