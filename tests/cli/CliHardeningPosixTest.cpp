// morvane-cli and what only POSIX systems have: a pipe named by TZ.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

#include "cli/CliFiles.h"
#include "cli/CliProcess.h"
#include "support/MediaFactory.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"

namespace {

using CliHardeningTest = CliTest;

const std::string Stamp = "2014-10-10T20:11:25.000000Z";

// TZ naming a pipe would block the run on opening it; the zone is refused before that.
TEST_F(CliHardeningTest, ALocalZoneFromAPipeIsAUsageErrorAndNeverWaits) {
  const std::string file = MakeFlac(folder / "a.flac", Stamp).string();
  const std::string pipe = (folder / "zone").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // A writer that lets a reader that opened the pipe go on, so that a failure cannot hang.
  std::thread writer([&pipe] {
    const int fd = ::open(pipe.c_str(), O_WRONLY);
    if (fd >= 0) ::close(fd);
  });
  CliRun run;
  {
    ScopedEnvVar tz("TZ", pipe.c_str());
    run = RunCliProcess({"list", "--tz", "local", file});
  }
  const int release = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  writer.join();
  ::close(release);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "morvane-cli: --tz: " + pipe + ": not a regular file\nTry 'morvane-cli --help'.\n");
}

}  // namespace
