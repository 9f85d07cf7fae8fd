// The floating-point environment in force while the media libraries run.
#pragma once
#include <cstdint>

namespace platform {

struct FloatingPointState {
  std::uint16_t x87Control = 0;
  std::uint32_t sseControl = 0;
};

// Masks every floating-point exception and selects rounding to nearest, so that faults
// inside the libraries give infinities or not-a-number values. Returns the state before.
FloatingPointState MaskFloatingPointExceptions();
void RestoreFloatingPoint(const FloatingPointState& state);
FloatingPointState CurrentFloatingPointState();

}  // namespace platform
