// Folders by date and file times: patterns with "/" make folders below the target folder
// (or the file's own), never through a symbolic link, and undo removes them again; copies
// keep the source's times, and SetMtime gives renamed and copied files their creation time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>

#include "support/FileTimes.h"
#include "support/TestNeeds.h"
#include "support/Succeeded.h"
#include "workflow/undo/UndoRun.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;

const std::string Stamp = "2015-06-01T10:20:30.000000Z";
const std::string Pattern = "%Y/%m/%Y%m%d_%H%M%S";

TPlanOptions WithPattern(std::string format, bool setMtime = false) {
  TPlanOptions options;
  options.Naming.Format = std::move(format);
  options.SetMtime = setMtime;
  return options;
}

// Seconds since 1970 of a file's modification time.
long long MtimeOf(const fs::path& path) { return FileTimesOf(path).modified / 1000000000; }

class FolderPatternTest : public CopyFolderTest {
 protected:
  void SetUp() override {
    CopyFolderTest::SetUp();
    a = MakeClipWithCreationTime(folder / "a.flac", Stamp).string();
    b = MakeClipWithCreationTime(folder / "b.flac", "2016-01-02T03:04:05Z").string();
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = WithPattern(Pattern); });
  }
  std::string a, b;
};

TEST_F(FolderPatternTest, FoldersAreMadeBelowTheTargetOnlyByARealRun) {
  workflow.SelectFiles({a, b});
  EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[0]), PathOf("2015/06/20150601_102030.flac"));
  const auto before = Snapshot(folder.path());
  workflow.CopyFiles(out.string(), TRunMode::DryRun);
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "would copy");
  EXPECT_EQ(workflow.Rows()[0].NewFileName, (out / "2015/06/20150601_102030.flac").string());
  workflow.RenameFiles(TRunMode::DryRun);
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "would rename");
  EXPECT_EQ(workflow.Rows()[1].NewFileName, PathOf("2016/01/20160102_030405.flac"));
  EXPECT_EQ(Snapshot(folder.path()), before) << "a dry run makes no folder";

  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied");
  EXPECT_EQ(ReadWholeFile(out / "2015/06/20150601_102030.flac"), ReadWholeFile(a));
  EXPECT_EQ(ReadWholeFile(out / "2016/01/20160102_030405.flac"), ReadWholeFile(b));
  EXPECT_EQ(Snapshot(out).size(), 6u) << "four folders, two files, nothing else";
}

TEST_F(FolderPatternTest, UndoPutsTheFilesBackAndRemovesTheFoldersItMadeWhenEmpty) {
  const std::string journal = PathOf("journal");
  fs::create_directory(folder / "2016");
  folder.WriteFile("2016/keep.txt", "was here");
  ChangeOptions(workflow, [&](TRunOptions& o) { o.JournalPath = journal; });
  workflow.SelectFiles({a, b});
  workflow.RenameFiles();
  ASSERT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  ASSERT_EQ(ResultOf(workflow.Rows()[1]), "renamed");
  EXPECT_TRUE(fs::exists(folder / "2016/01/20160102_030405.flac"));

  std::vector<TJournalRun> runs;
  ASSERT_TRUE(Succeeded(ReadJournal(journal, runs)));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_TRUE(UndoRun(runs.front(), journal).AllRestored);
  EXPECT_TRUE(fs::exists(a));
  EXPECT_TRUE(fs::exists(b));
  EXPECT_FALSE(fs::exists(folder / "2015")) << "made by the run, empty again";
  EXPECT_FALSE(fs::exists(folder / "2016/01"));
  EXPECT_EQ(ReadWholeFile(folder / "2016/keep.txt"), "was here") << "a folder that was there stays";
}

TEST_F(FolderPatternTest, AFolderThatIsASymbolicLinkIsRefusedAndNothingGoesThroughIt) {
  MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
  TempFolder outside;
  fs::create_directory_symlink(outside.path(), out / "2015");
  fs::create_directory_symlink(outside.path(), folder / "2016");
  workflow.SelectFiles({a, b});
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: folder is a symbolic link: " + (out / "2015").string());
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "copied");
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "failed: folder is a symbolic link: " + PathOf("2016"));
  EXPECT_TRUE(fs::exists(b));
  EXPECT_TRUE(fs::is_empty(outside.path())) << "nothing reached the folder outside";
}

// A new name that no file system holds fails before any folder is made for it: a file name
// past the limit of one name, or folders nested past the limit of a path.
TEST_F(FolderPatternTest, ANameTooLongForTheSystemMakesNoFolder) {
  std::string nested;
  for (int level = 0; level < 1500; ++level) nested += "%Y/";
  for (const std::string& pattern : {"%Y/%m/" + std::string(300, 'x'), nested + "%d"}) {
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = WithPattern(pattern); });
    workflow.SelectFiles({a});
    const auto before = Snapshot(folder.path());
    workflow.CopyFiles(out.string());
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: File name too long");
    workflow.RenameFiles();
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: File name too long");
    EXPECT_EQ(Snapshot(folder.path()), before);
  }
}

TEST_F(FolderPatternTest, CopiesKeepTheSourceTimesAndSetMtimeGivesTheCreationTime) {
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = {}; });
  workflow.SelectFiles({a});
  // Set after the lookup, which reads the file. Whole 100 ns steps, which every system keeps.
  // The access time is a day ahead: reading the file then leaves it (relatime), even where
  // the system reads every file it opens (Wine reads a file's first bytes at each open).
  const std::int64_t tomorrow =
      (std::chrono::system_clock::now().time_since_epoch() / std::chrono::seconds{1} + 86400) * 1000000000;
  const FileTimes times{tomorrow + 200, 1100000000'000000500};
  ASSERT_TRUE(SetFileTimes(a, times));
  workflow.CopyFiles(out.string());
  const FileTimes copied = FileTimesOf(out / "2015-06-01T10_20_30.000000Z.flac");
  EXPECT_EQ(copied.modified, times.modified);
  EXPECT_EQ(copied.accessed / 1000000000, times.accessed / 1000000000);

  const std::string odd = MakeClipWithCreationTime(folder / "odd.flac", "soon").string();
  // A time without zone is read as UTC.
  const std::string zoneless = MakeClipWithCreationTime(folder / "avi.flac", "2003-03-10 15:04:43").string();
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = WithPattern("%Y%m%d_%H%M%S", true); });
  workflow.SelectFiles({a, odd, zoneless});
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied");
  EXPECT_EQ(MtimeOf(out / "20150601_102030.flac"), 1433154030);
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "skipped: creation time not understood");
  workflow.RenameFiles();
  EXPECT_EQ(MtimeOf(PathOf("20150601_102030.flac")), 1433154030);
  EXPECT_EQ(MtimeOf(PathOf("20030310_150443.flac")), 1047308683);
  EXPECT_TRUE(fs::exists(odd));
}

}  // namespace
