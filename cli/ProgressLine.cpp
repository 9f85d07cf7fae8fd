#include "cli/ProgressLine.h"

#include <ostream>

namespace {
// Back to the start of the line, then erase to its end.
constexpr const char* kRewind = "\r\x1b[K";
}  // namespace

void TProgressLine::Show(std::size_t index, std::size_t count) {
  if (!Enabled_) return;
  Err_ << kRewind << Verb_ << ' ' << index + 1 << " of " << count << std::flush;
  Shown_ = true;
}

void TProgressLine::Clear() {
  if (!Shown_) return;
  Err_ << kRewind << std::flush;
  Shown_ = false;
}
