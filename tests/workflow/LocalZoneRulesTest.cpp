// Local time that follows TZ as the C library reads it: rules, and a pipe in TZ's place.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "workflow/NamingTestSupport.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"

namespace {

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

// A pipe named by TZ is refused without waiting on it.
TEST(TimeZoneTest, APipeNamedByTzIsRefused) {
  TempFolder folder;
  std::string problem;
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
