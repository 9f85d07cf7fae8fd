// An assertion on a result of the component (Base/Result.h) that shows the failure's own
// message: ASSERT_TRUE(Succeeded(copy.Sync())).
#pragma once
#include <gtest/gtest.h>

#include "Base/Result.h"

template <typename K>
::testing::AssertionResult Succeeded(const TResultOf<K>& result) {
  if (result) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << result.Message();
}
