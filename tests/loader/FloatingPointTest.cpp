// The floating-point environment while the loader's unit is active.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/FloatingPoint.h"

namespace {

#if defined(__x86_64__) || defined(__i386__)
TEST(FloatingPointTest, TheLoadersUnitMasksEveryExceptionWithRoundingToNearest) {
  const platform::FloatingPointState state = platform::CurrentFloatingPointState();
  // Bit 6 of the x87 control word is reserved and reads back as set on most processors.
  EXPECT_EQ(state.x87Control & ~0x0040, 0x133F);
  EXPECT_EQ(state.sseControl & 0x1F80u, 0x1F80u) << "all six SSE exceptions masked";
  EXPECT_EQ(state.sseControl & 0x6000u, 0u) << "round to nearest";
}

TEST(FloatingPointTest, RestoringBringsBackTheStateBefore) {
  const platform::FloatingPointState before = platform::CurrentFloatingPointState();
  platform::FloatingPointState unmasked = before;
  unmasked.x87Control = 0x037F & ~0x0004;  // divide-by-zero unmasked
  unmasked.sseControl = before.sseControl & ~0x0200u;
  platform::RestoreFloatingPoint(unmasked);
  const platform::FloatingPointState saved = platform::MaskFloatingPointExceptions();
  EXPECT_EQ(saved.x87Control, unmasked.x87Control);
  EXPECT_EQ(saved.sseControl & 0xFFC0u, unmasked.sseControl & 0xFFC0u);
  volatile double zero = 0;
  EXPECT_TRUE(std::isinf(1.0 / zero)) << "a masked division by zero gives an infinity";
  platform::RestoreFloatingPoint(before);
  EXPECT_EQ(platform::CurrentFloatingPointState().x87Control, before.x87Control);
}
#endif

}  // namespace
