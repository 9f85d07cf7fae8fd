// Time arithmetic that stops at the ends of the 64-bit range instead of wrapping, for
// targets and stamps that come from damaged files or from callers. The smallest value
// stays reserved for "no time stamp": results never fall below the one above it.
#pragma once
#include <cstdint>

#include "FFLoad/MediaHeaders.h"

namespace satime {

std::int64_t Add(std::int64_t a, std::int64_t b);
std::int64_t Subtract(std::int64_t a, std::int64_t b);
std::int64_t Multiply(std::int64_t a, std::int64_t b);
// `a` from time base `from` to time base `to`, rounded to the nearest (halves away from
// zero). A base with a zero part leaves `a` as it is.
std::int64_t Rescale(std::int64_t a, AVRational from, AVRational to);

}  // namespace satime
