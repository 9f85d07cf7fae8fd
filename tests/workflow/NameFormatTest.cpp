#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "workflow/naming/NameFormat.h"
#include "workflow/NamingTestSupport.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"

namespace {

TEST(NameFormatTest, WithoutOptionsTheNameIsTheTextAsStored) {
  const TNamingOptions none;
  EXPECT_FALSE(none.Active());
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30.000000Z", none), "/v/2015-06-01T10_20_30.000000Z.mp4");
  // Not parsed at all: text that no option could read still names the file as before.
  EXPECT_EQ(RenamedName("Mon Mar 10 15:04:43 2003", none), "/v/Mon Mar 10 15_04_43 2003.mp4");
}

TEST(NameFormatTest, PatternFieldsAndTheExtension) {
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30.012345Z", Options("%Y%m%d_%H%M%S.%f %z %%")),
            "/v/20150601_102030.012345 +0000 %.mp4");
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30-0930", Options("%H%M%z")), "/v/1020-0930.mp4");
  // A time without zone has no offset to show.
  EXPECT_EQ(RenamedName("2003-03-10 15:04:43", Options("%Y-%m-%d[%z]")), "/v/2003-03-10[].mp4");
  // ":" in a pattern turns into "_" like every other name; "/" makes folders by date.
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30Z", Options("%H:%M")), "/v/10_20.mp4");
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30Z", Options("%Y/%m/%d")), "/v/2015/06/01.mp4");
}

TEST(NameFormatTest, CheckNamesTheFieldThatCannotStand) {
  EXPECT_EQ(CheckNameFormat("%Y-%m-%d %H.%M.%S.%f%z %%"), "");
  EXPECT_EQ(CheckNameFormat("plain"), "");
  EXPECT_NE(CheckNameFormat("%Y-%j").find("\"%j\""), std::string::npos);
  EXPECT_NE(CheckNameFormat("%Y%"), "");
  EXPECT_NE(CheckNameFormat("%Z"), "");
  // Folders by date stay below the target folder, whatever the date.
  EXPECT_EQ(CheckNameFormat("%Y/%m/%Y%m%d_%H%M%S"), "");
  EXPECT_EQ(CheckNameFormat("%Y/UTC%z/%d"), "");
  for (const char* pattern : {"/%Y", "%Y/", "%Y//%m", "%Y/./%m", "../%Y", "%Y/..", "%Y/%z/%d"})
    EXPECT_NE(CheckNameFormat(pattern), "") << pattern;
  EXPECT_EQ(CheckNameFormat("%Y/../%d"), "format has a part \"..\" between \"/\"");
}

// A pattern that no date can turn into a name inside the target folder is refused before
// any file is read: otherwise every row would blame its file for it.
TEST(NameFormatTest, CheckRefusesPatternsThatNameNoFileBelowTheFolder) {
  for (const char* pattern : {".", "..", "%z", "%z%z", "a\tb", "%Y\x01", "%Y\x7F", "%Y/%m\n/%d"})
    EXPECT_NE(CheckNameFormat(pattern), "") << pattern;
  EXPECT_EQ(CheckNameFormat(".."), "format \"..\" names no file (\".\" and \"..\" name folders)");
  EXPECT_EQ(CheckNameFormat("%Y\t%m"), "format holds the control character U+0009");
  // Every delimiter the system reads makes folders, and none of their parts may climb out.
  for (const char* delimiter = platform::PathDelimiters; *delimiter; ++delimiter) {
    const std::string d(1, *delimiter);
    for (const std::string& pattern : {"%Y" + d + ".." + d + "%d", ".." + d + "%Y", "%Y" + d + ".", d + "%Y"})
      EXPECT_NE(CheckNameFormat(pattern), "") << pattern;
    EXPECT_EQ(CheckNameFormat("%Y" + d + "%m" + d + "%d"), "");
  }
  EXPECT_EQ(CheckNameFormat(""), "") << "no pattern";
  EXPECT_EQ(CheckNameFormat("...%Y"), "");
}

TEST(NameFormatTest, TzConvertsAndTheDefaultNameCarriesTheOffset) {
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30.000000Z", Options("", "Europe/Berlin")),
            "/v/2015-06-01T12_20_30.000000+02_00.mp4");
  // Winter time, and a day boundary crossed backwards.
  EXPECT_EQ(RenamedName("2015-01-01T03:00:00.000000Z", Options("", "America/New_York")),
            "/v/2014-12-31T22_00_00.000000-05_00.mp4");
  // A time that names its own offset is converted from that offset.
  EXPECT_EQ(RenamedName("2021-04-10T11:43:59+0100", Options("%H%M%S%z", "Asia/Kathmandu")), "/v/162859+0545.mp4");
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30.5Z", Options("", "UTC")), "/v/2015-06-01T10_20_30.500000+00_00.mp4");
}

TEST(NameFormatTest, ATimeWithoutZoneIsConvertedOnlyWhenAssumeTzNamesOne) {
  EXPECT_EQ(RenamedName("2003-03-10 15:04:43", Options("", "Europe/Berlin")), "/v/2003-03-10 15_04_43.mp4");
  EXPECT_EQ(RenamedName("2003-03-10 15:04:43", Options("", "UTC", "Europe/Berlin")),
            "/v/2003-03-10T14_04_43.000000+00_00.mp4");
  EXPECT_EQ(RenamedName("2003-03-10 15:04:43", Options("", nullptr, "Europe/Berlin")),
            "/v/2003-03-10T15_04_43.000000+01_00.mp4");
}

TEST(NameFormatTest, AssumeTzReadsUtcMarkedTimesAsLocalButLeavesRealOffsets) {
  // A camera wrote its local 10:20 and marked it UTC.
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30.000000Z", Options("", nullptr, "Europe/Berlin")),
            "/v/2015-06-01T10_20_30.000000+02_00.mp4");
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30.000000Z", Options("%H%z", "Asia/Tokyo", "Europe/Berlin")),
            "/v/17+0900.mp4");
  // "+00:00" is a real offset, not a UTC claim; nothing to convert, so the text stays.
  EXPECT_EQ(RenamedName("2015-06-01T10:20:30+00:00", Options("", nullptr, "Europe/Berlin")),
            "/v/2015-06-01T10_20_30+00_00.mp4");
}

TEST(NameFormatTest, ClockChangesTakeTheOffsetBeforeTheChange) {
  // 02:30 does not exist in Berlin on 2021-03-28; 02:30 happens twice on 2021-10-31.
  EXPECT_EQ(NamePartFor("2021-03-28T02:30:00Z", Options("%H:%M%z", nullptr, "Europe/Berlin")), "03:30+0200");
  EXPECT_EQ(NamePartFor("2021-10-31T02:30:00Z", Options("%H:%M%z", "UTC", "Europe/Berlin")), "00:30+0000");
}

TEST(NameFormatTest, TextTheOptionsCannotReadIsNotUnderstood) {
  for (const TNamingOptions& options : {Options("%Y"), Options("", "UTC"), Options("", nullptr, "UTC")})
    for (const char* text : {"Mon Mar 10 15:04:43 2003", "2009/10/27 12:14:34", "2015-02-30T10:00:00Z", ""})
      EXPECT_FALSE(NamePartFor(text, options)) << text;
  EXPECT_EQ(SkippedNotUnderstood, "skipped: creation time not understood");
}

TEST(NameFormatTest, TimesOutsideTheYearsOneTo9999AreNotUnderstood) {
  // A photo's "0000:01:01 00:00:00 +01:00" shifted to UTC falls into the year before year 0.
  EXPECT_FALSE(NamePartFor("0000-01-01T00:00:00.770000+01:00", Options("", "UTC")));
  EXPECT_FALSE(NamePartFor("0000-01-01T00:00:00.770000+01:00", Options("%Y-%m-%d")));
  EXPECT_FALSE(NamePartFor("9999-12-31T23:30:00-01:00", Options("%Y", "UTC")));
  EXPECT_FALSE(NamePartFor("9999-12-31T23:30:00", Options("%Y", "UTC", "America/New_York")));
  // The edges themselves are names.
  EXPECT_EQ(NamePartFor("0001-01-01T01:00:00+01:00", Options("%Y-%m-%dT%H", "UTC")), "0001-01-01T00");
  EXPECT_EQ(NamePartFor("9999-12-31T23:59:59Z", Options("%Y-%m-%d")), "9999-12-31");
}

TEST(TimeZoneTest, FindsDatabaseZonesAndRefusesOtherNames) {
  EXPECT_TRUE(TTimeZone::Find("Europe/Berlin"));
  EXPECT_TRUE(TTimeZone::Find("Etc/GMT+5"));
  EXPECT_TRUE(TTimeZone::Find("America/Port-au-Prince"));
  for (const char* name : {"", "Europe/Nowhere", "/etc/localtime", "../../etc/passwd", "Europe/../UTC",
                           "Europe//Berlin", "Europe/Berlin/", "Europe Berlin"})
    EXPECT_FALSE(TTimeZone::Find(name)) << name;
}

TEST(TimeZoneTest, LocalFollowsTzWhenSet) {
  const auto time = *ParseCreationTime("2015-06-01T10:20:30Z");
  {
    ScopedEnvVar tz("TZ", "Asia/Tokyo");
    EXPECT_EQ(Zone("local").WallTimeAt(InstantOf(time)).Hour, 19u);
  }
  {
    ScopedEnvVar tz("TZ", ":America/New_York");
    EXPECT_EQ(Zone("local").WallTimeAt(InstantOf(time)).Hour, 6u);
  }
  {
    // Unset: the machine's zone, whatever it is; it must agree with a named lookup of itself.
    ScopedEnvVar tz("TZ", nullptr);
    const auto wall = Zone("local").WallTimeAt(InstantOf(time));
    ASSERT_TRUE(wall.OffsetSeconds);
    EXPECT_EQ(InstantOf(wall), InstantOf(time));
  }
}

// A zone file whose header claims 268 million transitions in 162 bytes, named by TZ or
// found through TZDIR, is refused instead of read.
TEST(TimeZoneTest, CraftedZoneFilesAreRefused) {
  TempFolder folder;
  std::string crafted = std::string("TZif2") + std::string(15, '\0');
  for (const std::uint32_t count : {0u, 0u, 0u, 0x10000000u, 1u, 4u})
    for (const int shift : {24, 16, 8, 0}) crafted += static_cast<char>((count >> shift) & 0xFF);
  crafted.resize(162, '\0');
  const std::string craftedPath = folder.WriteFile("Crafted", crafted).string();
  std::string problem;
  {
    ScopedEnvVar tz("TZ", craftedPath.c_str());
    EXPECT_FALSE(TTimeZone::Find("local", &problem));
    EXPECT_EQ(problem, craftedPath + ": the zone file asks for more data than it holds");
  }
  {
    ScopedEnvVar tzdir("TZDIR", folder.path().string().c_str());
    EXPECT_FALSE(TTimeZone::Find("Crafted"));
  }
}

}  // namespace
