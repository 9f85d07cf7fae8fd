#include "platform/FloatingPoint.h"

namespace platform {

#if defined(__x86_64__) || defined(__i386__)

FloatingPointState CurrentFloatingPointState() {
  FloatingPointState state;
  asm volatile("fnstcw %0" : "=m"(state.x87Control));
  asm volatile("stmxcsr %0" : "=m"(state.sseControl));
  return state;
}

FloatingPointState MaskFloatingPointExceptions() {
  FloatingPointState before = CurrentFloatingPointState();
  // x87: all six exceptions masked, 64-bit precision, round to nearest.
  std::uint16_t x87 = 0x133F;
  asm volatile("fldcw %0" : : "m"(x87));
  // SSE: the six mask bits (7..12) set, rounding bits (13..14) cleared; flags kept.
  std::uint32_t sse = (before.sseControl | 0x1F80u) & ~0x6000u;
  asm volatile("ldmxcsr %0" : : "m"(sse));
  return before;
}

void RestoreFloatingPoint(const FloatingPointState& state) {
  asm volatile("fldcw %0" : : "m"(state.x87Control));
  asm volatile("ldmxcsr %0" : : "m"(state.sseControl));
}

#else
#include <cfenv>

FloatingPointState CurrentFloatingPointState() { return {}; }
FloatingPointState MaskFloatingPointExceptions() {
  std::fesetround(FE_TONEAREST);
  return {};
}
void RestoreFloatingPoint(const FloatingPointState&) {}

#endif

}  // namespace platform
