// morvane-cli and what only POSIX systems have: a pipe named by TZ, a file owned by another
// user.
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
#include "support/Unprivileged.h"

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

// The rename is done though the file keeps its time: the row says so, and a run whose
// rows were all done succeeded.
TEST_F(CliHardeningTest, ARenameWhoseTimeCannotBeSetIsNoFailure) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root, to own a file that another user renames";
  const std::string file = MakeFlac(folder / "a.flac", Stamp).string();
  std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
  const auto seen = RunUnprivileged([&] {
    if (::access(file.c_str(), R_OK) != 0 || ::access(MORVANE_CLI_PATH, X_OK) != 0) return std::string("unreachable");
    const ScopedEnvVar state("XDG_STATE_HOME", (folder / "state").string().c_str());
    const CliRun run = RunCliProcess({"rename", "--set-mtime", file});
    return std::to_string(run.status) + "\n" + run.out + run.err;
  });
  if (!seen || *seen == "unreachable") GTEST_SKIP() << "an unprivileged user cannot run the test here";
  EXPECT_EQ(*seen, "0\n" + file + '\t' + Stamp + '\t' + PathOf("2014-10-10T20_11_25.000000Z.flac") +
                       "\trenamed (modification time not set: Operation not permitted)\n");
}

}  // namespace
