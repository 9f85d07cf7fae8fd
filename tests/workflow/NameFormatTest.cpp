#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "workflow/NameFormat.h"
#include "workflow/NewFileName.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"

namespace {

TTimeZone Zone(const char* name) {
  auto zone = TTimeZone::Find(name);
  EXPECT_TRUE(zone) << name;
  return zone ? *zone : *TTimeZone::Find("UTC");
}

TNamingOptions Options(const char* format, const char* tz = nullptr, const char* assumeTz = nullptr) {
  TNamingOptions options;
  options.Format = format;
  if (tz) options.Tz = Zone(tz);
  if (assumeTz) options.AssumeTz = Zone(assumeTz);
  return options;
}

// The full name a rename of /v/clip.mp4 would get with these options.
std::optional<std::string> RenamedName(const char* creationTime, const TNamingOptions& options) {
  const auto part = NamePartFor(creationTime, options);
  if (!part) return std::nullopt;
  return MakeNewFileName("/v/", *part, "/v/clip.mp4");
}

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

// TZ as a POSIX rule: the wall time of "local" is the C library's own local time.
TEST(TimeZoneTest, LocalFollowsTzRulesAsTheCLibraryDoes) {
  // Around the rules' clock changes of 2021 (second Sunday of March, first of November,
  // last Sundays of March and October), and far from them.
  const std::int64_t moments[] = {1412971885, 1615705199, 1615705200, 1615708800, 1636264799, 1636264800,
                                  1636268400, 1616893199, 1616893200, 1635641999, 1635642000, -86400, 4102444800};
  for (const char* rule : {"JST-9", "EST5EDT,M3.2.0,M11.1.0", "CET-1CEST,M3.5.0,M10.5.0/3", "<+0545>-5:45"}) {
    ScopedEnvVar tz("TZ", rule);
    const TTimeZone local = Zone("local");
    ::tzset();
    for (const std::int64_t moment : moments) {
      const time_t seconds = static_cast<time_t>(moment);
      tm expected {};
      ASSERT_TRUE(::localtime_r(&seconds, &expected));
      const TCreationTime wall = local.WallTimeAt(TInstant(std::chrono::seconds(moment)));
      EXPECT_EQ((std::vector<long>{wall.Year, wall.Month, wall.Day, wall.Hour, wall.Minute, wall.Second,
                                   *wall.OffsetSeconds}),
                (std::vector<long>{expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday, expected.tm_hour,
                                   expected.tm_min, expected.tm_sec, expected.tm_gmtoff}))
          << rule << " at " << moment;
    }
  }
  ScopedEnvVar tz("TZ", "JST-9");
  EXPECT_EQ(RenamedName("2014-10-10T20:11:25.000000Z", Options("", "local")), "/v/2014-10-11T05_11_25.000000+09_00.mp4");
}

TEST(TimeZoneTest, LocalRulesTakeTheOffsetBeforeAClockChange) {
  ScopedEnvVar tz("TZ", "EST5EDT,M3.2.0,M11.1.0");
  // 02:30 does not exist on 2021-03-14; 01:30 happens twice on 2021-11-07.
  EXPECT_EQ(NamePartFor("2021-03-14T02:30:00Z", Options("%H:%M%z", nullptr, "local")), "03:30-0400");
  EXPECT_EQ(NamePartFor("2021-11-07T01:30:00Z", Options("%H:%M%z", "UTC", "local")), "05:30+0000");
  EXPECT_EQ(NamePartFor("2021-07-01T12:00:00Z", Options("%H:%M%z", "UTC", "local")), "16:00+0000");
}

// A zone file whose header claims 268 million transitions in 162 bytes, named by TZ or
// found through TZDIR, is refused instead of read; so is a pipe, without waiting on it.
TEST(TimeZoneTest, ZoneFilesThatAreCraftedOrNotRegularAreRefused) {
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
    ScopedEnvVar tzdir("TZDIR", folder.path().c_str());
    EXPECT_FALSE(TTimeZone::Find("Crafted"));
  }

  const std::string pipe = (folder / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // A writer that lets a reader that opened the pipe go on, so that a failure cannot hang.
  std::thread writer([&pipe] {
    const int fd = ::open(pipe.c_str(), O_WRONLY);
    if (fd >= 0) ::close(fd);
  });
  {
    ScopedEnvVar tz("TZ", pipe.c_str());
    EXPECT_FALSE(TTimeZone::Find("local", &problem));
    EXPECT_EQ(problem, pipe + ": not a regular file");
  }
  const int release = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  writer.join();
  ::close(release);
}

}  // namespace
