#include <gtest/gtest.h>

#include "workflow/dates/CreationTime.h"

namespace {

struct ParseCase {
  const char* text;
  const char* iso;  // FormatIsoCreationTime of the result
};

class UnderstoodCreationTime : public ::testing::TestWithParam<ParseCase> {};

TEST_P(UnderstoodCreationTime, ParsesAndWritesTheIsoForm) {
  const auto time = ParseCreationTime(GetParam().text);
  ASSERT_TRUE(time) << GetParam().text;
  EXPECT_EQ(FormatIsoCreationTime(*time), GetParam().iso) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    LibraryForms, UnderstoodCreationTime,
    ::testing::Values(ParseCase{"2015-06-01T10:20:30.000000Z", "2015-06-01T10:20:30.000000Z"},
                      ParseCase{"2015-06-01T10:20:30Z", "2015-06-01T10:20:30.000000Z"},
                      // AVI files: blank instead of "T", no fraction, no zone.
                      ParseCase{"2003-03-10 15:04:43", "2003-03-10T15:04:43.000000"},
                      ParseCase{"2021-04-10T11:43:59+0100", "2021-04-10T11:43:59.000000+01:00"},
                      ParseCase{"2021-04-10T11:43:59-03:30", "2021-04-10T11:43:59.000000-03:30"},
                      ParseCase{"2021-04-10T11:43:59+05", "2021-04-10T11:43:59.000000+05:00"},
                      ParseCase{"2021-04-10T11:43:59.5", "2021-04-10T11:43:59.500000"},
                      // Longer fractions are cut to microseconds, not rounded.
                      ParseCase{"2021-04-10T11:43:59.123456789Z", "2021-04-10T11:43:59.123456Z"},
                      ParseCase{"2024-02-29T23:59:59.999999+00:00", "2024-02-29T23:59:59.999999+00:00"}));

TEST(CreationTimeParseTest, RefusesEverythingElse) {
  for (const char* text :
       {"", "2015", "2015-06-01", "2015-06-01T10:20", "2015-06-01t10:20:30Z", "2015/06/01 10:20:30",
        "15-06-01T10:20:30Z", "2015-6-01T10:20:30Z", "2015-06-01T10:20:30.Z", "2015-06-01T10:20:30.000000ZZ",
        "2015-06-01T10:20:30 Z", "2015-06-01T10:20:30+2", "2015-06-01T10:20:30+02:0", "2015-06-01T10:20:30+0200x",
        "2015-06-01T10:20:30+24:00", "2015-06-01T10:20:30+02:60", " 2015-06-01T10:20:30Z",
        "2015-02-29T10:20:30Z", "2015-06-31T10:20:30Z", "2015-13-01T10:20:30Z", "2015-06-01T24:00:00Z",
        "2015-06-01T10:60:00Z", "2015-06-01T10:20:60Z", "Mon Mar 10 15:04:43 2003", "２０１５-06-01T10:20:30Z"})
    EXPECT_FALSE(ParseCreationTime(text)) << text;
}

TEST(CreationTimeParseTest, KeepsWhetherTheTextClaimedUtcOrNamedNoZone) {
  const auto utc = ParseCreationTime("2015-06-01T10:20:30Z");
  const auto zero = ParseCreationTime("2015-06-01T10:20:30+00:00");
  const auto none = ParseCreationTime("2015-06-01 10:20:30");
  ASSERT_TRUE(utc && zero && none);
  EXPECT_TRUE(utc->WrittenAsUtc);
  EXPECT_FALSE(zero->WrittenAsUtc);
  EXPECT_EQ(zero->OffsetSeconds, 0);
  EXPECT_FALSE(none->OffsetSeconds);
}

TEST(CreationTimeParseTest, TheInstantSubtractsTheOffsetAndReadsNoZoneAsUtc) {
  using namespace std::chrono;
  const TInstant expected = sys_days{2015y / June / 1} + 10h + 20min + 30s + 250ms;
  EXPECT_EQ(InstantOf(*ParseCreationTime("2015-06-01T10:20:30.25Z")), expected);
  EXPECT_EQ(InstantOf(*ParseCreationTime("2015-06-01T12:20:30.25+02:00")), expected);
  EXPECT_EQ(InstantOf(*ParseCreationTime("2015-06-01T06:50:30.25-0330")), expected);
  EXPECT_EQ(InstantOf(*ParseCreationTime("2015-06-01 10:20:30.25")), expected);
  EXPECT_EQ(InstantOf(*ParseCreationTime("1904-01-01T00:00:00Z")), TInstant{sys_days{1904y / January / 1}});
}

}  // namespace
