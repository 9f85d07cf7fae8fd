#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "workflow/WorkflowFixture.h"
#include "support/TestNeeds.h"

namespace {

namespace fs = std::filesystem;
using ::testing::StartsWith;

const std::string Stamp = "2015-06-01T10:20:30.000000Z";

std::string RandomBytes(std::size_t count) {
  std::mt19937 generator(20150601);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

struct BadInputCase {
  const char* name;
  // Makes the input in `folder` and returns the name to select.
  std::function<std::string(const TempFolder& folder)> make;
  const char* result;  // of rename and of copy
};

class BadInputTest : public WorkflowTest, public ::testing::WithParamInterface<BadInputCase> {};

TEST_P(BadInputTest, GivesAnEmptyRowThatRenameAndCopySkip) {
  if (std::string_view(GetParam().name) == "Pipe") MORVANE_NEEDS(Missing(TNeed::Fifos));
  fs::create_directory(folder / "out");
  const std::string input = GetParam().make(folder);
  const auto before = Snapshot(folder.path());

  workflow.SelectFiles({input});
  ASSERT_EQ(workflow.Rows().size(), 1u);
  EXPECT_EQ(workflow.Rows()[0].FileName, input);
  EXPECT_EQ(workflow.Rows()[0].CreationTime, "");
  EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[0]), "");
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), GetParam().result);
  workflow.CopyFiles(PathOf("out"));
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), GetParam().result);
  EXPECT_EQ(workflow.Rows()[0].NewFileName, "");
  EXPECT_EQ(Snapshot(folder.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadInputTest,
    ::testing::Values(
        BadInputCase{"EmptyFile", [](const TempFolder& f) { return f.WriteFile("empty.mp4", "").string(); },
                     "skipped: cannot read: Invalid data found when processing input"},
        BadInputCase{"RandomBytes",
                     [](const TempFolder& f) { return f.WriteFile("random.mp4", RandomBytes(64 * 1024)).string(); },
                     "skipped: cannot read: Invalid data found when processing input"},
        BadInputCase{"Mp4CutInTheMiddle",
                     [](const TempFolder& f) {
                       // The index stands at the end, so the first half alone has none.
                       const std::string whole = ReadWholeFile(MakeMediaWithCreationTime(f / "whole.mp4", Stamp));
                       fs::remove(f / "whole.mp4");
                       return f.WriteFile("cut.mp4", whole.substr(0, whole.size() / 2)).string();
                     },
                     "skipped: cannot read: Invalid data found when processing input"},
        BadInputCase{"Folder",
                     [](const TempFolder& f) {
                       fs::create_directory(f / "folder.mp4");
                       return (f / "folder.mp4").string();
                     },
                     "skipped: not a regular file (a folder)"},
        BadInputCase{"Pipe",
                     [](const TempFolder& f) {
                       // Opening a pipe nobody writes to would block for ever.
                       const fs::path pipe = f / "pipe.mp4";
                       EXPECT_EQ(MakeFifo(pipe), 0);
                       return pipe.string();
                     },
                     "skipped: not a regular file"},
        BadInputCase{"MissingFile", [](const TempFolder& f) { return (f / "missing.mp4").string(); },
                     "skipped: file not found"},
        BadInputCase{"EmptyName", [](const TempFolder&) { return std::string(); }, "skipped: file not found"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkflowTest, Mp4CutAfterItsIndexStillGivesItsCreationTime) {
  MediaSpec spec;
  spec.metadata = {"creation_time=" + Stamp};
  spec.extra = {"-movflags", "+faststart"};
  const std::string whole = ReadWholeFile(MakeMedia(folder / "whole.mp4", spec));
  const std::string cut = folder.WriteFile("cut.mp4", whole.substr(0, whole.size() / 2)).string();
  workflow.SelectFiles({cut});
  EXPECT_EQ(workflow.Rows()[0].CreationTime, Stamp);
}

TEST_F(WorkflowTest, FileWithoutReadPermissionGivesAnEmptyRow) {
  MORVANE_NEEDS(Missing(TNeed::PosixPermissions));
  const fs::path file = MakeMediaWithCreationTime(folder / "locked.mp4", Stamp);
  fs::permissions(file, fs::perms::owner_write);
  if (!ReachableUnprivileged(folder)) GTEST_SKIP() << "the test folder is out of an unprivileged user's reach";
  const auto outcome = RunUnprivileged([&] {
    workflow.SelectFiles({file.string()});
    const std::string creationTime = workflow.Rows()[0].CreationTime;
    workflow.RenameFiles();
    return creationTime + "|" + ResultOf(workflow.Rows()[0]);
  });
  ASSERT_TRUE(outcome.has_value()) << "the unprivileged run did not finish";
  EXPECT_EQ(*outcome, "|skipped: cannot read: Permission denied");
  EXPECT_TRUE(fs::exists(file));
}

TEST_F(WorkflowTest, TenKilobyteCreationTimeDoesNotBreakTheRow) {
  MORVANE_NEEDS(Missing(TNeed::PosixPathLimits));
  const std::string value = "2015" + std::string(10 * 1024, 'x');
  const std::string file = MakeClipWithCreationTime(folder / "long.flac", value).string();
  const std::string content = ReadWholeFile(file);
  workflow.SelectFiles({file});
  const TFileRow& row = workflow.Rows()[0];
  ASSERT_FALSE(row.CreationTime.empty());
  EXPECT_THAT(value, StartsWith(row.CreationTime));
  workflow.RenameFiles();
  // Far longer than a file name may be (the report may shorten the value, but not below that).
  EXPECT_EQ(ResultOf(row), "failed: File name too long");
  EXPECT_EQ(ReadWholeFile(file), content);
}

TEST_F(WorkflowTest, TenKilobyteValueOfAnotherEntryLeavesTheCreationTimeAlone) {
  MediaSpec spec;
  spec.metadata = {"comment=" + std::string(10 * 1024, 'c'), "creation_time=" + Stamp};
  const std::string file = MakeMedia(folder / "comment.mkv", spec).string();
  workflow.SelectFiles({file});
  EXPECT_EQ(workflow.Rows()[0].CreationTime, Stamp);
}

}  // namespace
