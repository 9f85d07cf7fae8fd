// Inputs chosen to break the workflow: copies whose targets are sources of the same run,
// names at and beyond the system's path limit, control characters in creation times, a
// modification time far ahead, and runs that are stopped half-way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "workflow/WorkflowFixture.h"
#include "platform/FileSystem.h"
#include "support/TestNeeds.h"

namespace {

namespace fs = std::filesystem;
using Entries = std::map<std::string, std::string>;

const std::string Stamp = "2014-10-10T20:11:25.000000Z";
const std::string StampName = "2014-10-10T20_11_25.000000Z";

class HardeningTest : public CopyFolderTest {};

TEST_F(HardeningTest, ACopyNeverWritesOverAnotherSourceOfTheSameRun) {
  const std::string first = MakeClipWithCreationTime(folder / "a.flac", Stamp, "first").string();
  // The second source already carries the first one's target name.
  const std::string second = MakeClipWithCreationTime(out / (StampName + ".flac"), "2001-01-01", "second").string();
  const std::string secondContent = ReadWholeFile(second);
  workflow.SelectFiles({first, second});
  workflow.CopyFiles(out.string());
  const auto& rows = workflow.Rows();
  EXPECT_EQ(ResultOf(rows[0]), "failed: target is another file of this copy");
  EXPECT_EQ(ResultOf(rows[1]), "copied") << "the other source is copied by its own row";
  EXPECT_EQ(ReadWholeFile(second), secondContent);
  EXPECT_EQ(ReadWholeFile(out / "2001-01-01.flac"), secondContent);
}

TEST_F(HardeningTest, EveryNameThatRenameCanMakeCopyCanMakeToo) {
  // 250 characters and ".flac": the longest name a folder holds.
  const std::string creationTime = "2015" + std::string(246, 'x');
  const std::string file = MakeClipWithCreationTime(folder / "a.flac", creationTime).string();
  workflow.SelectFiles({file});
  ASSERT_EQ(workflow.Rows()[0].CreationTime, creationTime);
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied");
  EXPECT_EQ(Snapshot(out).size(), 1u) << "no temporary file is left";
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
}

TEST_F(HardeningTest, ControlCharactersInACreationTimeAreRefused) {
  for (const std::string& creationTime : {std::string("2015\x1b[31m"), std::string("20\x07" "15"),
                                          std::string("20\x01" "15"), std::string("2015\x7f" "1")}) {
    const std::string file = MakeClipWithCreationTime(folder / "a.flac", creationTime).string();
    const Entries before = Snapshot(folder.path());
    workflow.SelectFiles({file});
    ASSERT_EQ(workflow.Rows()[0].CreationTime, creationTime);
    EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[0]), "");
    workflow.RenameFiles();
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: creation time is not a valid file name");
    workflow.CopyFiles(out.string());
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: creation time is not a valid file name");
    EXPECT_EQ(Snapshot(folder.path()), before);
  }
}

// Folders nested below `root` until the path is at least `length` bytes long; made through
// the working folder, since the system refuses whole paths beyond its limit.
fs::path DeepFolder(const fs::path& root, std::size_t length) {
  const fs::path previous = fs::current_path();
  fs::current_path(root);
  std::string path = root.string();
  while (path.size() < length) {
    const std::string part(std::min<std::size_t>(200, length - path.size()), 'd');
    fs::create_directory(part);
    fs::current_path(part);
    path += "/" + part;
  }
  fs::current_path(previous);
  return path;
}

// Moves `file` into the folder `deep`, whose whole path may be too long for the system.
void MoveInto(const fs::path& file, const fs::path& deep, const std::string& name) {
  const fs::path previous = fs::current_path();
  const std::string rest = deep.string().substr(file.parent_path().string().size() + 1);
  fs::current_path(file.parent_path());
  std::size_t start = 0;
  std::string back;
  for (std::size_t slash; (slash = rest.find('/', start)) != std::string::npos; start = slash + 1) {
    fs::current_path(rest.substr(start, slash - start));
    back += "../";
  }
  fs::current_path(rest.substr(start));
  back += "../";
  ASSERT_EQ(::rename((back + file.filename().string()).c_str(), name.c_str()), 0);
  fs::current_path(previous);
}

// Nanoseconds since 1970 end in 2262; a later time that the file system holds is read back
// as one beyond that end, not as the number it wraps around to, and needs no note.
TEST_F(HardeningTest, SetMtimeReadsBackATimeBeyondTheNanosecondsRange) {
  ChangeOptions(workflow, [](TRunOptions& o) { o.Plan.SetMtime = true; });
  const std::string file = MakeClipWithCreationTime(folder / "a.flac", "2300-01-01T00:00:00.000000Z").string();
  workflow.SelectFiles({file});
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
}

TEST_F(HardeningTest, NamesUpToTheSystemsPathLimitAreReadRenamedAndCopied) {
  MORVANE_NEEDS(Missing(TNeed::PosixPathLimits));
  const fs::path deep = DeepFolder(folder.path(), 3500);
  const fs::path clip = MakeClipWithCreationTime(folder / "a.flac", Stamp);
  MoveInto(clip, deep, "a.flac");
  const std::string name = (deep / "a.flac").string();
  ASSERT_GT(name.size(), 2048u);
  workflow.SelectFiles({name});
  EXPECT_EQ(workflow.Rows()[0].CreationTime, Stamp);
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied");
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_EQ(workflow.Rows()[0].NewFileName, (deep / (StampName + ".flac")).string());
}

TEST_F(HardeningTest, ANameBeyondThePathLimitCannotBeRead) {
  MORVANE_NEEDS(Missing(TNeed::PosixPathLimits));
  const fs::path deep = DeepFolder(folder.path(), platform::MaxPathBytes + 100);
  MoveInto(MakeClipWithCreationTime(folder / "a.flac", Stamp), deep, "a.flac");
  workflow.SelectFiles({(deep / "a.flac").string()});
  EXPECT_EQ(workflow.Rows()[0].CreationTime, "");
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: cannot read: File name too long");
}

TEST_F(HardeningTest, AStoppedCopyFinishesNoFurtherRowAndLeavesNoPartialFile) {
  const std::string a = MakeClipWithCreationTime(folder / "a.flac", "one").string();
  const std::string b = MakeClipWithCreationTime(folder / "b.flac", "two").string();
  const std::string c = MakeClipWithCreationTime(folder / "c.flac", "three").string();
  std::atomic<bool> stop{false};
  workflow.SetStopFlag(&stop);
  workflow.SelectFiles({a, b, c});
  std::vector<std::string> done;
  workflow.OnRowDone = [&](const TFileRow& row) { done.push_back(row.FileName); };
  // The stop comes while the batch is planned, as a signal would: the copies go in
  // batches, and the batch in hand is given up whole.
  workflow.OnFolderHeld = [&](const std::string&) { stop = true; };
  workflow.CopyFiles(out.string());
  EXPECT_EQ(done, std::vector<std::string>{});
  EXPECT_EQ(Snapshot(out), Entries{}) << "no copy, no temporary file";
  EXPECT_EQ(workflow.Rows()[1].Result.Kind, TRowKind::None) << "the second row was never planned";
  EXPECT_EQ(workflow.Rows()[2].Result.Kind, TRowKind::None) << "the third row was never reached";
}

}  // namespace
