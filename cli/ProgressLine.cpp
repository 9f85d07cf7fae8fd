#include "cli/ProgressLine.h"

#include <ostream>

namespace {
// Back to the start of the line, then erase to its end.
constexpr const char* kRewind = "\r\x1b[K";
}  // namespace

void TProgressLine::Show(std::size_t index, std::size_t count) {
  if (!Enabled_) return;
  Err_ << kRewind << Verb_ << ' ' << index + 1 << " of " << count << Bytes_ << std::flush;
  Shown_ = true;
  Index_ = index;
  Count_ = count;
}

void TProgressLine::SetBytes(std::uint64_t done, std::uint64_t total) {
  Bytes_ = ", " + SizeText(done) + " of " + SizeText(total);
  if (Shown_) Show(Index_, Count_);
}

std::string SizeText(std::uint64_t bytes) {
  constexpr std::uint64_t KiB = 1024;
  constexpr std::uint64_t MiB = KiB * 1024;
  return bytes < MiB ? std::to_string(bytes / KiB) + " KiB" : std::to_string(bytes / MiB) + " MiB";
}

void TProgressLine::Clear() {
  if (!Shown_) return;
  Err_ << kRewind << std::flush;
  Shown_ = false;
}
