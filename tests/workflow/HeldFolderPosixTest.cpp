// What another process does to a run's folders and companions while the run goes: a
// folder swapped for a symbolic link, a companion swapped for a link or a pipe. Nothing
// reaches a folder outside the target, nothing private is copied, nothing blocks, and
// undo removes only the folders the run made.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "workflow/undo/UndoRun.h"
#include "support/Succeeded.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;

const std::string Pattern = "%Y/%m/%Y%m%d_%H%M%S";

class HeldFolderTest : public CopyFolderTest {
 protected:
  void SetUp() override {
    CopyFolderTest::SetUp();
    a = MakeClipWithCreationTime(folder / "a.flac", "2015-06-01T10:20:30Z").string();
    c = MakeClipWithCreationTime(folder / "c.flac", "2015-06-02T11:00:00Z").string();
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan.Naming.Format = Pattern; });
  }
  // Moves `year` (made by the run) outside and puts a link to `outside` in its place.
  void SwapForLink(const fs::path& year) {
    fs::rename(year, outside.path() / ("moved" + std::to_string(swaps++)));
    fs::create_directory_symlink(outside.path(), year);
  }
  std::string a, c;
  int swaps = 0;
  TempFolder outside;
};

TEST_F(HeldFolderTest, AFolderSwappedForALinkAfterItWasMadeLeadsNoFileOutside) {
  bool swapped = false;
  workflow.OnFolderHeld = [&](const std::string& held) {
    if (!swapped) SwapForLink(fs::path(held).parent_path());
    swapped = true;
  };
  workflow.SelectFiles({a, c});
  workflow.CopyFiles(out.string());
  const std::string copyLink = "failed: folder is a symbolic link: " + (out / "2015").string();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), copyLink);
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), copyLink);
  EXPECT_EQ(Snapshot(outside.path()), (std::map<std::string, std::string>{{"moved0", "<dir>"}, {"moved0/06", "<dir>"}}))
      << "neither a copy nor a temporary file went outside";

  fs::remove(out / "2015");
  swapped = false;
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: folder is a symbolic link: " + PathOf("2015"));
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "failed: folder is a symbolic link: " + PathOf("2015"));
  EXPECT_TRUE(fs::exists(a) && fs::exists(c));
}

TEST_F(HeldFolderTest, UndoRemovesOnlyTheFoldersTheRunMadeAndNeverThroughALink) {
  const std::string journal = PathOf("journal");
  ChangeOptions(workflow, [&](TRunOptions& o) { o.JournalPath = journal; });
  workflow.SelectFiles({a});
  workflow.RenameFiles();
  ASSERT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  std::vector<TJournalRun> runs;
  ASSERT_TRUE(Succeeded(ReadJournal(journal, runs)));
  ASSERT_EQ(runs.size(), 1u);

  // The made "2015" now leads to a folder outside that holds an empty "06" of its own.
  SwapForLink(folder / "2015");
  fs::create_directory(outside.path() / "06");
  EXPECT_FALSE(UndoRun(runs.front(), journal).AllRestored);
  EXPECT_TRUE(fs::exists(outside.path() / "06")) << "not removed through the link";

  // A plain folder of the same name that the run did not make stays as well.
  fs::remove(folder / "2015");
  fs::create_directories(folder / "2015/06");
  UndoRun(runs.front(), journal);
  EXPECT_TRUE(fs::exists(folder / "2015/06"));
}

// A companion swapped, after the run found it, for a link to a private file or for a
// pipe that no one writes: neither is copied, and the copy does not wait.
TEST_F(HeldFolderTest, ACompanionSwappedForALinkOrAPipeIsNotCopied) {
  folder.WriteFile("secret.txt", "private");
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = {}; });
  workflow.SelectFiles({a});
  for (const bool pipe : {false, true}) {
    fs::remove(PathOf("a.xmp"));
    folder.WriteFile("a.xmp", "sidecar");
    workflow.OnFolderHeld = [&](const std::string&) {
      fs::remove(PathOf("a.xmp"));
      if (pipe)
        ASSERT_EQ(::mkfifo(PathOf("a.xmp").c_str(), 0600), 0);
      else
        fs::create_symlink(PathOf("secret.txt"), PathOf("a.xmp"));
    };
    workflow.CopyFiles(out.string());
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: a.xmp: not a regular file");
    EXPECT_TRUE(fs::is_empty(out)) << "neither the file nor its companion";
  }
}

}  // namespace
