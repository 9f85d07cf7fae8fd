#include <gtest/gtest.h>

#include "workflow/dates/UnsetDate.h"

namespace {

using namespace std::chrono;

const TInstant Now = sys_days{2026y / December / 7} + 12h;

bool Unset(const char* text) {
  const auto time = ParseCreationTime(text);
  EXPECT_TRUE(time) << text;
  return time && DateLooksUnset(*time, Now);
}

TEST(UnsetDateTest, FlagsClockStartsEarlyDatesAndTheFuture) {
  for (const char* text :
       {"1904-01-01T00:00:00.000000Z", "1970-01-01T00:00:00.000000Z", "1970-03-06T17:27:38.000000Z",
        "1989-12-31T23:59:59.999999Z", "1980-01-01T00:00:00.000000Z", "2000-01-01T00:00:00Z",
        "2001-01-01T00:00:00.000000Z", "2001-01-01T01:00:00+01:00", "2000-01-01 00:00:00",
        "2026-12-08T12:00:00.000001Z", "2099-01-01T00:00:00Z"})
    EXPECT_TRUE(Unset(text)) << text;
}

TEST(UnsetDateTest, LeavesEveryOtherMomentAlone) {
  for (const char* text :
       {"1990-01-01T00:00:00.000000Z", "2000-01-01T00:00:00.000001Z", "2000-01-01T00:00:01Z",
        "2000-01-01T00:00:00+01:00", "1999-12-31T23:59:59Z", "2001-01-01T00:00:00.5Z", "2015-06-01T10:20:30.000000Z",
        "2026-12-08T12:00:00.000000Z", "2026-12-08T13:00:00+01:00", "2003-03-10 15:04:43"})
    EXPECT_FALSE(Unset(text)) << text;
  EXPECT_EQ(SkippedDateLooksUnset, "skipped: date looks unset");
  EXPECT_EQ(DateLooksUnsetNote, " (date looks unset)");
}

}  // namespace
