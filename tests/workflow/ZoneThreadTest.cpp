// Zone lookups from several threads at once, as a window and a command line may do: every
// thread must get the answer a lone thread gets. Also run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "workflow/naming/NameFormat.h"

namespace {

const char* const ZoneNames[] = {"Europe/Berlin", "America/New_York", "Asia/Kathmandu", "Australia/Lord_Howe",
                                 "Pacific/Chatham", "America/St_Johns", "UTC", "Africa/Casablanca"};
const char* const Times[] = {"2015-06-01T10:20:30.000000Z", "2021-03-28T02:30:00Z", "1999-12-31T23:59:59.999999Z",
                             "2003-03-10 15:04:43", "2021-04-10T11:43:59+0100"};

// Every zone as --tz and as --assume-tz, over every time, in one text.
std::string AllNames() {
  std::string names;
  const std::size_t count = std::size(ZoneNames);
  for (std::size_t index = 0; index < count; ++index) {
    TNamingOptions options;
    options.Format = "%Y-%m-%d %H:%M:%S.%f%z|";
    options.Tz = TTimeZone::Find(ZoneNames[index]);
    options.AssumeTz = TTimeZone::Find(ZoneNames[count - 1 - index]);
    for (const char* time : Times) names += NamePartFor(time, options).value_or("?");
    names += '\n';
  }
  return names;
}

TEST(ZoneThreadTest, LookupsOnSeveralThreadsAgreeWithOneThread) {
  constexpr int ThreadCount = 6;
  std::vector<std::string> results(ThreadCount);
  std::vector<std::thread> threads;
  for (int index = 0; index < ThreadCount; ++index)
    threads.emplace_back([&results, index] {
      for (int round = 0; round < 20; ++round) results[index] = AllNames();
    });
  for (std::thread& thread : threads) thread.join();
  const std::string expected = AllNames();
  EXPECT_EQ(expected.find('?'), std::string::npos) << expected;
  for (const std::string& result : results) EXPECT_EQ(result, expected);
}

}  // namespace
