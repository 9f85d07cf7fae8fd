// A result of a finer kind (Base/Result.h) taken where a plain one is wanted: which failure
// it was goes, what the failure says stays, and success stays success.
#include <gtest/gtest.h>

#include <cerrno>

#include "Base/Result.h"

namespace {

enum class TPlacing { Done, Taken, Failed };

TEST(ResultTest, AFinerResultNarrowsToAPlainOneKeepingWhatItSays) {
  const TResult taken = TResultOf<TPlacing>(TPlacing::Taken, "File exists", EEXIST);
  EXPECT_FALSE(taken);
  EXPECT_EQ(taken.Kind(), TResultKind::Failed);
  EXPECT_EQ(taken.Message(), "File exists");
  EXPECT_EQ(taken.ErrorNumber(), EEXIST);

  const TResult done = TResultOf<TPlacing>();
  EXPECT_TRUE(done);
  EXPECT_EQ(done.Message(), "");
}

}  // namespace
