#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "workflow/undo/UndoRun.h"
#include "workflow/WorkflowFixture.h"
#include "support/TestNeeds.h"
#include "support/Succeeded.h"

namespace {

namespace fs = std::filesystem;
using Entries = std::map<std::string, std::string>;

const std::string Stamp = "2015-06-01T10:20:30.000000Z";
const std::string StampName = "2015-06-01T10_20_30.000000Z";

class RenameTest : public WorkflowTest {};
class CopyTest : public CopyFolderTest {};

TEST_F(RenameTest, MovesEachFileToItsCreationTimeNameInItsOwnFolder) {
  fs::create_directory(folder / "sub dir");
  const std::string mp4 = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  const std::string upper = MakeMediaWithCreationTime(folder / "sub dir" / "b.MOV", "2016-01-02T03:04:05.000000Z").string();
  const std::string bare = MakeClipWithCreationTime(folder / "clip", "2017-01-01 10:00:00").string();
  const Entries before = Snapshot(folder.path());

  workflow.SelectFiles({mp4, upper, bare});
  workflow.RenameFiles();

  const std::vector<std::string> expected = {PathOf(StampName + ".mp4"),
                                             (folder / "sub dir" / "2016-01-02T03_04_05.000000Z.MOV").string(),
                                             PathOf("2017-01-01 10_00_00")};
  ASSERT_EQ(workflow.Rows().size(), 3u);
  for (std::size_t index = 0; index < 3; ++index) {
    const TFileRow& row = workflow.Rows()[index];
    EXPECT_EQ(ResultOf(row), "renamed") << row.FileName;
    EXPECT_EQ(row.NewFileName, expected[index]);
    EXPECT_FALSE(fs::exists(row.FileName));
    const std::string oldName = fs::relative(row.FileName, folder.path()).string();
    EXPECT_EQ(ReadWholeFile(row.NewFileName), before.at(oldName)) << "content moved with the name";
  }
  EXPECT_EQ(workflow.Rows()[0].FileName, mp4) << "FileName never changes";
}

TEST_F(RenameTest, ANameThatIsNotUtf8IsReadAndRenamedAsItsBytes) {
  // Names from old cameras and other systems may be Latin-1 or worse; the bytes are the name.
  const fs::path latin1 = folder.path() / "caf\xE9 \xFF.mp4";
  fs::copy_file(MakeMediaWithCreationTime(folder / "made.mp4", Stamp), latin1);
  fs::remove(folder / "made.mp4");
  workflow.SelectFiles({latin1.string()});
  ASSERT_EQ(workflow.Rows()[0].CreationTime, Stamp);
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_FALSE(fs::exists(latin1));
  EXPECT_TRUE(fs::exists(PathOf(StampName + ".mp4")));
}

TEST_F(RenameTest, NeverReplacesAFile) {
  const std::string first = MakeClipWithCreationTime(folder / "first.flac", "same", "first").string();
  const std::string second = MakeClipWithCreationTime(folder / "second.flac", "same", "second").string();
  const std::string third = MakeClipWithCreationTime(folder / "third.flac", "taken").string();
  folder.WriteFile("taken.flac", "was here before");
  const std::string secondContent = ReadWholeFile(second);
  const std::string firstContent = ReadWholeFile(first);

  workflow.SelectFiles({first, second, third});
  // The preview names the file that holds the name, or that an earlier row gives it.
  workflow.RenameFiles(TRunMode::DryRun);
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "failed: name taken by first.flac");
  EXPECT_EQ(ResultOf(workflow.Rows()[2]), "failed: name taken by taken.flac");
  workflow.RenameFiles();

  const auto& rows = workflow.Rows();
  EXPECT_EQ(ResultOf(rows[0]), "renamed");
  EXPECT_EQ(ResultOf(rows[1]), "failed: name taken by same.flac");
  EXPECT_EQ(rows[1].NewFileName, PathOf("same.flac")) << "the target is shown also on failure";
  EXPECT_EQ(ResultOf(rows[2]), "failed: name taken by taken.flac");
  EXPECT_EQ(ReadWholeFile(PathOf("same.flac")), firstContent);
  EXPECT_EQ(ReadWholeFile(second), secondContent);
  EXPECT_EQ(ReadWholeFile(PathOf("taken.flac")), "was here before");
  EXPECT_TRUE(fs::exists(third));
}

TEST_F(RenameTest, RenamingTwiceChangesNothingTheSecondTime) {
  const std::string file = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  workflow.SelectFiles({file});
  workflow.RenameFiles();
  ASSERT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  const Entries afterFirst = Snapshot(folder.path());

  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: file not found");
  EXPECT_EQ(workflow.Rows()[0].NewFileName, PathOf(StampName + ".mp4"));
  EXPECT_EQ(Snapshot(folder.path()), afterFirst);

  // A copy after the rename skips the row for the same reason.
  fs::create_directory(folder / "out");
  workflow.CopyFiles(PathOf("out"));
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: file not found");
  EXPECT_TRUE(fs::is_empty(folder / "out"));
}

TEST_F(RenameTest, AListThatFollowsItsFilesActsOnThemWhereARenameOrItsUndoLeftThem) {
  const std::string file = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  const std::string twin = MakeMediaWithCreationTime(folder / "twin.mp4", Stamp).string();
  const std::string journal = PathOf("state/undo-journal");
  workflow.SelectFiles({file, twin});
  ChangeOptions(workflow, [&](TRunOptions& o) { o.JournalPath = journal; });
  workflow.RenameFiles();
  ASSERT_EQ(ResultOf(workflow.Rows()[1]), "failed: name taken by " + StampName + ".mp4");
  workflow.FollowRenamedFiles();
  EXPECT_EQ(workflow.Rows()[0].FileName, PathOf(StampName + ".mp4")) << "the renamed row follows its file";
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed") << "and keeps its result";
  EXPECT_EQ(workflow.Rows()[1].FileName, twin) << "a row that was not renamed keeps its name";

  fs::create_directory(folder / "out");
  workflow.CopyFiles(PathOf("out"));
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied") << "a copy after the rename finds the renamed file";
  EXPECT_TRUE(fs::exists(folder / "out" / (StampName + ".mp4")));

  std::vector<TJournalRun> runs;
  ASSERT_TRUE(Succeeded(ReadJournal(journal, runs)));
  const TJournalRun* run = FindRun(runs, workflow.LastJournalRunId());
  ASSERT_NE(run, nullptr) << "the last rename names its journal run";
  workflow.FollowUndoneFiles(UndoRun(*run, journal).Rows);
  EXPECT_EQ(workflow.Rows()[0].FileName, file) << "the row follows its file back";
  EXPECT_EQ(workflow.Rows()[0].Result.Kind, TRowKind::None);
  EXPECT_TRUE(fs::exists(file));
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed") << "and the next rename acts on it again";
}

TEST_F(RenameTest, RowsWithoutFileOrCreationTimeAreSkippedUntouched) {
  const std::string none = MakeMedia(folder / "none.mp4").string();
  fs::create_directory(folder / "dir.mp4");
  const Entries before = Snapshot(folder.path());
  workflow.SelectFiles({PathOf("missing.mp4"), none, PathOf("dir.mp4")});
  workflow.RenameFiles();
  const auto& rows = workflow.Rows();
  EXPECT_EQ(ResultOf(rows[0]), "skipped: file not found");
  EXPECT_EQ(ResultOf(rows[1]), "skipped: no creation time");
  EXPECT_EQ(ResultOf(rows[2]), "skipped: not a regular file (a folder)");
  for (const auto& row : rows) EXPECT_EQ(row.NewFileName, "");
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(RenameTest, CharactersOtherThanTheColonStayInTheName) {
  MORVANE_NEEDS(Missing(TNeed::PosixNames));
  const std::string file = MakeClipWithCreationTime(folder / "a.flac", "x\\y*z?<>|\"1:2").string();
  workflow.SelectFiles({file});
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_TRUE(fs::exists(folder / "x\\y*z?<>|\"1_2.flac"));
}

TEST_F(RenameTest, NamesWithBlanksAndNonAsciiCharacters) {
  const fs::path sub = folder / "Urlaub 2015 – Ärger";
  fs::create_directory(sub);
  const std::string file = Utf8(MakeMediaWithCreationTime(sub / Utf8Path("Strand mit Möwe 日本.mp4"), Stamp));
  const std::string timeWithUnicode = Utf8(MakeClipWithCreationTime(sub / "b.flac", "2015-06-01 früh 10:20 Ω"));
  workflow.SelectFiles({file, timeWithUnicode});
  EXPECT_EQ(workflow.Rows()[0].CreationTime, Stamp);
  EXPECT_EQ(workflow.Rows()[1].CreationTime, "2015-06-01 früh 10:20 Ω");
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "renamed");
  EXPECT_TRUE(fs::exists(sub / (StampName + ".mp4")));
  EXPECT_TRUE(fs::exists(sub / Utf8Path("2015-06-01 früh 10_20 Ω.flac")));
}

struct RefusedCase {
  const char* name;
  const char* creationTime;
  const char* fileName;
};

class RefusedCreationTimeTest : public WorkflowTest, public ::testing::WithParamInterface<RefusedCase> {
 protected:
  void SetUp() override {
    WorkflowTest::SetUp();
    // v/ holds the clip and a folder "a" for "a/b"; out/ is the copy folder.
    fs::create_directories(folder / "v" / "a");
    fs::create_directories(folder / "out" / "a");
    file = MakeClipWithCreationTime(folder / "v" / GetParam().fileName, GetParam().creationTime).string();
    workflow.SelectFiles({file});
    ASSERT_EQ(workflow.Rows()[0].CreationTime, GetParam().creationTime);
    before = Snapshot(folder.path());
  }
  void ExpectRefused() {
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: creation time is not a valid file name");
    EXPECT_EQ(workflow.Rows()[0].NewFileName, "");
    EXPECT_EQ(Snapshot(folder.path()), before);
  }
  std::string file;
  Entries before;
};

TEST_P(RefusedCreationTimeTest, RenameMovesNothing) {
  workflow.RenameFiles();
  ExpectRefused();
}

TEST_P(RefusedCreationTimeTest, CopyCopiesNothing) {
  workflow.CopyFiles(PathOf("out"));
  ExpectRefused();
}

TEST_P(RefusedCreationTimeTest, ListShowsNoNewName) { EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[0]), ""); }

INSTANTIATE_TEST_SUITE_P(Names, RefusedCreationTimeTest,
                         ::testing::Values(RefusedCase{"DotDot", "..", "clip"}, RefusedCase{"Dot", ".", "clip"},
                                           RefusedCase{"DotDotWithExtension", "..", "clip.flac"},
                                           RefusedCase{"Subfolder", "a/b", "clip"},
                                           RefusedCase{"Parent", "../escaped", "clip.flac"},
                                           RefusedCase{"Absolute", "/tmp/x", "clip"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CopyTest, CopiesIntoTheChosenFolderAndKeepsTheSources) {
  const std::string a = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  const std::string b = MakeMediaWithCreationTime(folder / "b.mkv", "2016-01-02T03:04:05Z").string();
  workflow.SelectFiles({a, b});
  workflow.CopyFiles(out.string());
  const auto& rows = workflow.Rows();
  EXPECT_EQ(ResultOf(rows[0]), "copied");
  EXPECT_EQ(ResultOf(rows[1]), "copied");
  EXPECT_EQ(rows[0].NewFileName, (out / (StampName + ".mp4")).string());
  EXPECT_EQ(rows[1].NewFileName, (out / "2016-01-02T03_04_05.000000Z.mkv").string());
  EXPECT_EQ(ReadWholeFile(rows[0].NewFileName), ReadWholeFile(a));
  EXPECT_EQ(ReadWholeFile(rows[1].NewFileName), ReadWholeFile(b));
  EXPECT_EQ(Snapshot(out).size(), 2u) << "no temporary file is left";

  // A folder that already ends with the delimiter gets no second one.
  workflow.CopyFiles(out.string() + static_cast<char>(fs::path::preferred_separator));
  EXPECT_EQ(workflow.Rows()[0].NewFileName, (out / (StampName + ".mp4")).string());
}

// The bytes of a copy are told as they are written, before the copy takes its name: a large
// file shows its progress while it is copied, not only once it is done.
TEST_F(CopyTest, BytesAreToldAsTheyAreWrittenBeforeTheCopyIsNamed) {
  const std::string a = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  const std::uint64_t size = fs::file_size(a);
  std::vector<std::pair<std::uint64_t, bool>> told;  // bytes, whether the copy had its name
  workflow.OnCopyBytes = [&](std::uint64_t done, std::uint64_t total) {
    EXPECT_EQ(total, size);
    told.emplace_back(done, fs::exists(out / (StampName + ".mp4")));
  };
  workflow.SelectFiles({a});
  workflow.CopyFiles(out.string());
  EXPECT_NE(std::find(told.begin(), told.end(), std::make_pair(size, false)), told.end())
      << "all bytes written, not yet named";
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back(), std::make_pair(size, true));
}

TEST_F(CopyTest, ASecondCopyKeepsAnotherClipOfThatNameUnlessReplacingIsAskedFor) {
  // A name beyond ASCII: the bytes are compared through the name as the system spells it.
  const std::string a = Utf8(MakeMediaWithCreationTime(folder / "\xC3\xA4.mp4", Stamp));
  MediaSpec other;
  other.metadata = {"creation_time=" + Stamp, "title=b"};
  const std::string b = MakeMedia(folder / "b.mp4", other).string();
  ASSERT_NE(ReadWholeFile(Utf8Path(a)), ReadWholeFile(b)) << "the test needs two different files";
  const fs::path target = out / (StampName + ".mp4");
  workflow.SelectFiles({a});
  workflow.CopyFiles(out.string());
  ASSERT_EQ(ResultOf(workflow.Rows()[0]), "copied");

  // An import earlier, perhaps the only copy left: a later copy never destroys it.
  workflow.SelectFiles({b, a});
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: a different file has that name");
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "skipped: already copied");
  EXPECT_EQ(ReadWholeFile(target), ReadWholeFile(Utf8Path(a)));

  workflow.SelectFiles({b});
  ChangeOptions(workflow, [&](TRunOptions& o) { o.CopyReplaces = true; });
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied (replaced an existing file)");
  EXPECT_EQ(ReadWholeFile(target), ReadWholeFile(b));
  EXPECT_EQ(Snapshot(out).size(), 1u);
}

TEST_F(CopyTest, NeverReplacesWhatAnEarlierFileOfTheSameRunWrote) {
  const std::string first = MakeClipWithCreationTime(folder / "first.flac", "same", "first").string();
  const std::string second = MakeClipWithCreationTime(folder / "second.flac", "same", "second").string();
  workflow.SelectFiles({first, second, first});
  workflow.CopyFiles(out.string());
  const auto& rows = workflow.Rows();
  EXPECT_EQ(ResultOf(rows[0]), "copied");
  EXPECT_EQ(ResultOf(rows[1]), "failed: target was written by an earlier file of this copy");
  EXPECT_EQ(ResultOf(rows[2]), "skipped: same as " + first) << "the same bytes are no failure";
  EXPECT_EQ(rows[1].NewFileName, (out / "same.flac").string());
  EXPECT_EQ(ReadWholeFile(out / "same.flac"), ReadWholeFile(first));
  EXPECT_EQ(Snapshot(out).size(), 1u);
}

TEST_F(CopyTest, CopyingAFileOntoItselfLeavesItIntact) {
  MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
  const std::string file = MakeClipWithCreationTime(folder / "same.flac", "same").string();
  const std::string content = ReadWholeFile(file);
  fs::create_directory_symlink(folder.path(), folder / "link");
  workflow.SelectFiles({file});
  // The same folder, spelled three ways.
  for (const std::string& target : {folder.path().string(), PathOf("./"), PathOf("link")}) {
    workflow.CopyFiles(target);
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: source and target are the same file") << target;
    EXPECT_EQ(ReadWholeFile(file), content);
  }
  // A hard link in the copy folder is the same file too.
  fs::create_hard_link(file, out / "same.flac");
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: source and target are the same file");
  EXPECT_EQ(ReadWholeFile(file), content);
  EXPECT_EQ(fs::hard_link_count(file), 2u);
}

TEST_F(CopyTest, AFailedCopyLeavesTheOldTargetAndNoPartialFile) {
  const std::string file = MakeClipWithCreationTime(folder / "a.flac", "taken").string();
  // The target name belongs to a folder, which a file cannot replace.
  fs::create_directory(out / "taken.flac");
  folder.WriteFile("out/taken.flac/inside", "keep");
  const Entries before = Snapshot(out);
  workflow.SelectFiles({file});
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: Is a directory");
  EXPECT_EQ(workflow.Rows()[0].NewFileName, (out / "taken.flac").string());
  EXPECT_EQ(Snapshot(out), before);
}

TEST_F(CopyTest, AFolderWithoutWritePermissionGetsNoPartialFile) {
  MORVANE_NEEDS(Missing(TNeed::PosixPermissions));
  const std::string file = MakeClipWithCreationTime(folder / "a.flac", "t").string();
  folder.WriteFile("out/t.flac", "old");
  fs::permissions(out, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                           fs::perms::others_exec);
  if (!ReachableUnprivileged(folder)) GTEST_SKIP() << "the test folder is out of an unprivileged user's reach";
  const auto result = RunUnprivileged([&] {
    workflow.SelectFiles({file});
    ChangeOptions(workflow, [&](TRunOptions& o) { o.CopyReplaces = true; });
    workflow.CopyFiles(out.string());
    return ResultOf(workflow.Rows()[0]);
  });
  fs::permissions(out, fs::perms::owner_all);
  ASSERT_TRUE(result.has_value()) << "the unprivileged run did not finish";
  EXPECT_EQ(*result, "failed: Permission denied");
  EXPECT_EQ(Snapshot(out), (Entries{{"t.flac", "old"}}));
}

TEST_F(CopyTest, MissingCopyFolderFailsEachRow) {
  const std::string file = MakeClipWithCreationTime(folder / "a.flac", "t").string();
  workflow.SelectFiles({file});
  workflow.CopyFiles(PathOf("no-such-folder"));
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: No such file or directory");
  EXPECT_FALSE(fs::exists(folder / "no-such-folder"));
}

}  // namespace
