// Copies onto the file systems of cards and external drives, renames in place on them and
// their undo: FAT and exFAT (through the kernel or FUSE, which has neither a rename that
// never replaces nor hard links) keep every file as ext4 does, and never replace one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TestVolume.h"
#include "support/Succeeded.h"
#include "workflow/undo/UndoRun.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;

const std::string Stamp = "2014-10-10T20:11:25.000000Z";
const std::string Copied = "2014-10-10T20_11_25.000000Z";
const std::string Renamed = "20141010_201125";

class CardFileSystemTest : public WorkflowTest, public ::testing::WithParamInterface<TVolumeKind> {};

TEST_P(CardFileSystemTest, ACopyOntoItARenameOnItAndTheUndoKeepEveryFile) {
  TestVolume volume(GetParam());
  if (!volume.Problem().empty()) GTEST_SKIP() << volume.Problem();
  SCOPED_TRACE(volume.Description());
  const fs::path card = volume.Root() / "DCIM";
  fs::create_directory(card);
  const std::string clip = MakeClipWithCreationTime(folder / "a.flac", Stamp).string();
  folder.WriteFile("a.xmp", "sidecar");
  workflow.SelectFiles({clip});
  workflow.CopyFiles(card.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied (with a.xmp)");
  workflow.CopyFiles(card.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: already copied");
  EXPECT_TRUE(ReadWholeFile(card / (Copied + ".flac")) == ReadWholeFile(clip));

  const std::string journal = PathOf("journal");
  ChangeOptions(workflow, [&](TRunOptions& o) {
    o.Plan.Naming.Format = "%Y%m%d_%H%M%S";
    o.JournalPath = journal;
  });
  const std::string onCard = (card / (Copied + ".flac")).string();
  workflow.SelectFiles({onCard});
  // A name that is taken stays with its file, whatever the file system offers.
  const fs::path blocker = card / (Renamed + ".flac");
  std::ofstream(blocker) << "sidecar";
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: name taken by " + Renamed + ".flac");
  EXPECT_EQ(ReadWholeFile(blocker), "sidecar");
  EXPECT_TRUE(ReadWholeFile(onCard) == ReadWholeFile(clip));
  fs::remove(blocker);

  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed (with " + Copied + ".xmp)");
  EXPECT_TRUE(ReadWholeFile(card / (Renamed + ".flac")) == ReadWholeFile(clip));
  std::vector<TJournalRun> runs;
  ASSERT_TRUE(Succeeded(ReadJournal(journal, runs)));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_TRUE(UndoRun(runs.front(), journal).AllRestored);
  EXPECT_TRUE(ReadWholeFile(onCard) == ReadWholeFile(clip));
  EXPECT_EQ(ReadWholeFile(card / (Copied + ".xmp")), "sidecar");
  EXPECT_EQ(std::distance(fs::directory_iterator(card), fs::directory_iterator()), 2) << "nothing else was left";
}

INSTANTIATE_TEST_SUITE_P(Kinds, CardFileSystemTest,
                         ::testing::Values(TVolumeKind::Ext4, TVolumeKind::Vfat, TVolumeKind::Exfat),
                         [](const ::testing::TestParamInfo<TVolumeKind>& info) {
                           switch (info.param) {
                             case TVolumeKind::Vfat: return std::string("Vfat");
                             case TVolumeKind::Exfat: return std::string("Exfat");
                             default: return std::string("Ext4");
                           }
                         });

}  // namespace
