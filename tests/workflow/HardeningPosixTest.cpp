// Inputs chosen to break the workflow where only POSIX systems have them: permission bits
// that a copy must not pass on, and a process limit that lets no thread start.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/Unprivileged.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;

class PosixHardeningTest : public CopyFolderTest {};

const std::string Stamp = "2014-10-10T20:11:25.000000Z";

TEST_F(PosixHardeningTest, ACopyDoesNotPassOnSetUserOrGroupId) {
  const std::string file = MakeClipWithCreationTime(folder / "a.flac", Stamp).string();
  ASSERT_EQ(::chmod(file.c_str(), 06755), 0);
  workflow.SelectFiles({file});
  workflow.CopyFiles(out.string());
  ASSERT_EQ(ResultOf(workflow.Rows()[0]), "copied");
  struct stat info {};
  ASSERT_EQ(::stat(workflow.Rows()[0].NewFileName.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0755u);
}

// Under a process limit that allows no further thread, a lookup asked to run on 64 workers
// still reads every file, on the calling thread, and says why.
TEST_F(PosixHardeningTest, WorkersThatCannotStartLeaveTheirFilesToTheCallingThread) {
  std::vector<std::string> names;
  for (const char* day : {"01", "02", "03"})
    names.push_back(MakeClipWithCreationTime(folder / (std::string(day) + ".flac"), std::string("2015-06-") + day).string());
  const auto seen = RunUnprivileged([&] {
    // The child is the only process its user may have: no thread can start.
    const rlimit limit{1, 1};
    if (::setrlimit(RLIMIT_NPROC, &limit) != 0) return std::string("no limit");
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Workers = 64; });
    try {
      workflow.SelectFiles(names);
    } catch (const std::exception& error) {
      return std::string("failed: ") + error.what();
    }
    std::string text;
    for (const TFileRow& row : workflow.Rows()) text += row.CreationTime + "\n";
    return text + workflow.WorkerShortfall();
  });
  if (!seen) GTEST_SKIP() << "cannot drop root's rights here";
  EXPECT_EQ(*seen, "2015-06-01\n2015-06-02\n2015-06-03\nonly 0 of 3 lookup threads could start (Resource temporarily "
                   "unavailable); the files were read on the calling thread");
}

// A copy of more files than the process may hold open at once still copies them all: its
// batches fit in the limit.
TEST_F(PosixHardeningTest, ACopyFitsItsBatchesInTheLimitOfOpenFiles) {
  const fs::path clip = MakeClipWithCreationTime(folder / "clip.flac", Stamp);
  std::vector<std::string> names;
  for (int index = 0; index < 40; ++index) {
    // Different bytes under one creation time: each takes a numbered name of its own.
    names.push_back(folder.WriteFile("c" + std::to_string(index) + ".flac", ReadWholeFile(clip) + std::to_string(index)).string());
  }
  ChangeOptions(workflow, [](TRunOptions& o) { o.UniqueNames = true; o.Workers = 1; });
  workflow.SelectFiles(names);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  const rlimit low{32, saved.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
  workflow.CopyFiles(out.string());
  ::setrlimit(RLIMIT_NOFILE, &saved);
  std::size_t copied = 0;
  for (const TFileRow& row : workflow.Rows()) copied += ResultOf(row) == "copied";
  EXPECT_EQ(copied, names.size()) << ResultOf(workflow.Rows().back());
}

// Temporary files that a copy killed by force left behind go with the next copy into that
// folder; one that a running copy still holds (locked) stays, and so does any other file.
TEST_F(PosixHardeningTest, ALaterCopyRemovesTheTemporaryFilesOfAKilledOne) {
  const std::string file = MakeClipWithCreationTime(folder / "a.flac", Stamp).string();
  folder.WriteFile("out/.part-Ab3xYz", "left by a kill");
  folder.WriteFile("out/.part-notours", "someone else's");
  const fs::path running = folder.WriteFile("out/.part-Running", "being written");
  const int held = ::open(running.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  workflow.SelectFiles({file});
  workflow.CopyFiles(out.string());
  ::close(held);
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied");
  EXPECT_FALSE(fs::exists(out / ".part-Ab3xYz"));
  EXPECT_TRUE(fs::exists(out / ".part-notours"));
  EXPECT_TRUE(fs::exists(running));
  ASSERT_EQ(workflow.CopyNotices().size(), 1u);
  EXPECT_EQ(workflow.CopyNotices()[0], "removed 1 temporary file that an interrupted copy left in " + out.string() + "/");
}

}  // namespace
