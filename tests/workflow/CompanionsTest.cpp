// Companions travel with their media file: sidecars and a Live Photo's clip are renamed,
// copied and undone with it under the same new base name, all of them or none.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "workflow/files/Companions.h"
#include "workflow/PhotoFactory.h"
#include "workflow/undo/UndoRun.h"
#include "support/Succeeded.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;
using Entries = std::map<std::string, std::string>;

const std::string NewBase = "2021-07-10T20_39_25.000000";

class CompanionsTest : public CopyFolderTest {
 protected:
  void SetUp() override {
    CopyFolderTest::SetUp();
    photo = MakeJpegWithExif(folder / "IMG_1234.JPG", {{EXIF_TAG_DATE_TIME_ORIGINAL, "2021:07:10 20:39:25"}}).string();
    clip = MakeMediaWithCreationTime(folder / "IMG_1234.MOV", "2021-07-10T19:39:26Z").string();
    for (const char* name : {"IMG_1234.AAE", "IMG_1234.JPG.xmp", "img_1234.thm", "IMG_12345.AAE", "notes.txt"})
      folder.WriteFile(name, name);
  }
  // The group as the folder holds it after the photo took its new name.
  Entries Moved(const Entries& before, const std::string& base) const {
    Entries after = before;
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"IMG_1234.JPG", ".JPG"}, {"IMG_1234.MOV", ".MOV"}, {"IMG_1234.AAE", ".AAE"}, {"IMG_1234.JPG.xmp", ".JPG.xmp"}}) {
      after[base + to] = after.at(from);
      after.erase(from);
    }
    return after;
  }
  std::string photo;
  std::string clip;
};

TEST_F(CompanionsTest, SidecarsAndTheLivePhotoClipAreFoundByName) {
  EXPECT_EQ(FindCompanions(photo),
            (std::vector<std::string>{PathOf("IMG_1234.AAE"), PathOf("IMG_1234.JPG.xmp"), PathOf("IMG_1234.MOV")}));
  EXPECT_EQ(FindCompanions(clip), std::vector<std::string>{}) << "the photo's sidecars stay with the photo";
  const std::string lone = MakeMediaWithCreationTime(folder / "MVI_1.MOV", "2021-07-10T19:39:26Z").string();
  folder.WriteFile("MVI_1.THM", "thumbnail");
  EXPECT_EQ(FindCompanions(lone), std::vector<std::string>{PathOf("MVI_1.THM")});
  EXPECT_EQ(CompanionTarget(PathOf("IMG_1234.JPG.xmp"), photo, PathOf("NEW.JPG")), PathOf("NEW.JPG.xmp"));
  EXPECT_EQ(CompanionTarget(PathOf("IMG_1234.MOV"), photo, (out / "NEW.JPG").string()), (out / "NEW.MOV").string());
}

TEST_F(CompanionsTest, ARenameTakesTheGroupAlongAndAnUndoBringsItBack) {
  const Entries before = Snapshot(folder.path());
  const std::string journal = PathOf("journal/undo.tsv");
  // The journal as Snapshot names it, with the system's folder delimiter.
  const std::string journalEntry = fs::path("journal/undo.tsv").make_preferred().string();
  ChangeOptions(workflow, [&](TRunOptions& o) { o.JournalPath = journal; });
  // The clip is a row of its own too: it goes with the photo, under the photo's name.
  workflow.SelectFiles({clip, photo});
  EXPECT_EQ(workflow.PlannedRenameNames(), (std::vector<std::string>{PathOf(NewBase + ".MOV"), PathOf(NewBase + ".JPG")}))
      << "what a list shows";
  workflow.RenameFiles(TRunMode::DryRun);
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: moves with IMG_1234.JPG");
  EXPECT_EQ(workflow.Rows()[0].NewFileName, PathOf(NewBase + ".MOV")) << "the name the clip takes with the photo";
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "would rename (with IMG_1234.AAE, IMG_1234.JPG.xmp, IMG_1234.MOV)");
  EXPECT_EQ(Snapshot(folder.path()), before);

  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "moved with IMG_1234.JPG");
  EXPECT_EQ(workflow.Rows()[0].NewFileName, PathOf(NewBase + ".MOV"));
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "renamed (with IMG_1234.AAE, IMG_1234.JPG.xmp, IMG_1234.MOV)");
  Entries after = Moved(before, NewBase);
  after["journal"] = "<dir>";
  after[journalEntry] = ReadWholeFile(journal);
  EXPECT_EQ(Snapshot(folder.path()), after);

  std::vector<TJournalRun> runs;
  ASSERT_TRUE(Succeeded(ReadJournal(journal, runs)));
  ASSERT_EQ(runs.size(), 1u);
  const TUndoOutcome undone = UndoRun(runs.front(), journal);
  EXPECT_TRUE(undone.AllRestored);
  EXPECT_EQ(undone.Rows.size(), 4u);
  Entries back = Snapshot(folder.path());
  back.erase("journal");
  back.erase(journalEntry);
  EXPECT_EQ(back, before);

  // The clip's row after the photo's finds its file gone with the photo, and says so.
  workflow.SelectFiles({photo, clip});
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "moved with IMG_1234.JPG");
  EXPECT_EQ(workflow.Rows()[1].NewFileName, PathOf(NewBase + ".MOV"));
}

TEST_F(CompanionsTest, ATakenCompanionNameMovesNoMemberOfTheGroup) {
  folder.WriteFile(NewBase + ".AAE", "was here");
  const Entries before = Snapshot(folder.path());
  workflow.SelectFiles({photo});
  for (const TRunMode mode : {TRunMode::DryRun, TRunMode::Real}) {
    workflow.RenameFiles(mode);
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: new name of a companion is taken: " + NewBase + ".AAE");
    EXPECT_EQ(Snapshot(folder.path()), before);
  }
  // The same in the copy folder: nothing is copied.
  fs::copy_file(PathOf(NewBase + ".AAE"), out / (NewBase + ".AAE"));
  const Entries outBefore = Snapshot(out);
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: new name of a companion is taken: " + NewBase + ".AAE");
  EXPECT_EQ(Snapshot(out), outBefore);
}

TEST_F(CompanionsTest, ACopyTakesTheGroupAlongAndUniqueNamesCarryOverToIt) {
  const Entries before = Snapshot(folder.path());
  workflow.SelectFiles({photo});
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied (with IMG_1234.AAE, IMG_1234.JPG.xmp, IMG_1234.MOV)");
  const Entries copied = {{NewBase + ".JPG", before.at("IMG_1234.JPG")},
                          {NewBase + ".MOV", before.at("IMG_1234.MOV")},
                          {NewBase + ".AAE", before.at("IMG_1234.AAE")},
                          {NewBase + ".JPG.xmp", before.at("IMG_1234.JPG.xmp")}};
  EXPECT_EQ(Snapshot(out), copied);
  EXPECT_EQ(Snapshot(folder.path()).size(), before.size() + copied.size()) << "the sources stay";

  // Copied again with unique names onto another photo of that name: the group takes "_1"
  // together, also where a companion's own name holds its bytes already.
  std::ofstream(out / (NewBase + ".JPG"), std::ios::trunc) << "another photo";
  ChangeOptions(workflow, [&](TRunOptions& o) { o.UniqueNames = true; });
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied (with IMG_1234.AAE, IMG_1234.JPG.xmp, IMG_1234.MOV)");
  EXPECT_EQ(Snapshot(out).size(), 8u);
  EXPECT_EQ(ReadWholeFile(out / (NewBase + "_1.AAE")), "IMG_1234.AAE");
  EXPECT_EQ(ReadWholeFile(out / (NewBase + "_1.MOV")), before.at("IMG_1234.MOV"));

  // Renamed with unique names onto a taken photo name: the group follows "_1".
  folder.WriteFile(NewBase + ".JPG", "was here");
  const Entries renamedBefore = Snapshot(folder.path());
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed (with IMG_1234.AAE, IMG_1234.JPG.xmp, IMG_1234.MOV)");
  EXPECT_EQ(Snapshot(folder.path()), Moved(renamedBefore, NewBase + "_1"));
}

// A media file whose bytes are at its target already (copied before without companions, or
// a second copy of it on the card) still brings each companion that is missing there.
TEST_F(CompanionsTest, AFileCopiedBeforeStillBringsItsMissingCompanionsAllOrNone) {
  const Entries before = Snapshot(folder.path());
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Companions = false; });
  workflow.SelectFiles({photo});
  workflow.CopyFiles(out.string());
  ASSERT_EQ(Snapshot(out), (Entries{{NewBase + ".JPG", before.at("IMG_1234.JPG")}}));

  ChangeOptions(workflow, [&](TRunOptions& o) { o.Companions = true; });
  workflow.CopyFiles(out.string(), TRunMode::DryRun);
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: already copied (would copy its companions IMG_1234.AAE, "
                                              "IMG_1234.JPG.xmp, IMG_1234.MOV)");
  EXPECT_EQ(Snapshot(out).size(), 1u);
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: already copied (copied its companions IMG_1234.AAE, "
                                              "IMG_1234.JPG.xmp, IMG_1234.MOV)");
  EXPECT_EQ(ReadWholeFile(out / (NewBase + ".MOV")), before.at("IMG_1234.MOV"));
  EXPECT_EQ(Snapshot(out).size(), 4u);
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: already copied") << "nothing left to bring";

  // A companion's name that holds another file fails the row, and no other companion goes.
  std::ofstream(out / (NewBase + ".AAE"), std::ios::trunc) << "edited since";
  fs::remove(out / (NewBase + ".MOV"));
  const Entries outBefore = Snapshot(out);
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "failed: new name of a companion is taken: " + NewBase + ".AAE");
  EXPECT_EQ(Snapshot(out), outBefore);
}

TEST_F(CompanionsTest, WithoutCompanionsOnlyTheMediaFileMoves) {
  Entries expected = Snapshot(folder.path());
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Companions = false; });
  workflow.SelectFiles({photo, clip});
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "renamed");
  expected[NewBase + ".JPG"] = expected.at("IMG_1234.JPG");
  expected.erase("IMG_1234.JPG");
  expected["2021-07-10T19_39_26.000000Z.MOV"] = expected.at("IMG_1234.MOV");
  expected.erase("IMG_1234.MOV");
  EXPECT_EQ(Snapshot(folder.path()), expected);
}

// The folder is listed once per run: a sidecar that an earlier row took along is not
// offered to a later row of the same base name, which moves on its own.
TEST_F(CompanionsTest, ASidecarSharedByTwoFilesGoesWithTheFirstAndTheSecondStillMoves) {
  const std::string mp4 = MakeMediaWithCreationTime(folder / "CLIP.mp4", "2020-01-02T03:04:05Z").string();
  const std::string mkv = MakeMediaWithCreationTime(folder / "CLIP.mkv", "2020-01-02T03:04:06Z").string();
  folder.WriteFile("CLIP.srt", "subtitles");
  workflow.SelectFiles({mp4, mkv});
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed (with CLIP.srt)");
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "renamed");
  EXPECT_EQ(ReadWholeFile(folder / "2020-01-02T03_04_05.000000Z.srt"), "subtitles");

  // Copies of the same second give the shared sidecar one name, which holds its bytes once
  // the first has written it: the second finds it there, in the dry run as in the copy.
  const std::string mka = MakeMediaWithCreationTime(folder / "TAKE.mka", "2020-01-02T03:04:07Z").string();
  const std::string m4a = MakeMediaWithCreationTime(folder / "TAKE.m4a", "2020-01-02T03:04:07Z").string();
  folder.WriteFile("TAKE.xmp", "shared");
  workflow.SelectFiles({mka, m4a});
  for (const TRunMode mode : {TRunMode::DryRun, TRunMode::Real}) {
    workflow.CopyFiles(out.string(), mode);
    const std::string copied = mode == TRunMode::DryRun ? "would copy" : "copied";
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), copied + " (with TAKE.xmp)");
    EXPECT_EQ(ResultOf(workflow.Rows()[1]), copied + " (with TAKE.xmp)");
  }
  EXPECT_EQ(ReadWholeFile(out / "2020-01-02T03_04_07.000000Z.xmp"), "shared");
}

// A clip that cannot follow its photo while the photo cannot go back either: the photo
// keeps its new name, the row says so, and the journal lets undo take it back.
TEST_F(CompanionsTest, AGroupThatComesApartSaysWhichFilesMovedAndCanBeUndone) {
  const std::string journal = PathOf("journal");
  const std::string photoBytes = ReadWholeFile(photo);
  ChangeOptions(workflow, [&](TRunOptions& o) { o.JournalPath = journal; });
  workflow.OnFileMoved = [&](const std::string& from, const std::string&) {
    if (from != photo) return;
    // Another process takes the photo's old name and the clip's new one in between.
    folder.WriteFile("IMG_1234.JPG", "another photo");
    folder.WriteFile(NewBase + ".MOV", "another clip");
  };
  workflow.SelectFiles({photo});
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]),
            "failed: IMG_1234.MOV could not follow (File exists); IMG_1234.JPG is now " + NewBase + ".JPG");
  EXPECT_TRUE(fs::exists(PathOf("IMG_1234.AAE"))) << "the sidecars that had moved went back";
  EXPECT_TRUE(fs::exists(clip));

  fs::remove(PathOf("IMG_1234.JPG"));
  std::vector<TJournalRun> runs;
  ASSERT_TRUE(Succeeded(ReadJournal(journal, runs)));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_TRUE(UndoRun(runs.front(), journal).AllRestored);
  EXPECT_EQ(ReadWholeFile(photo), photoBytes);
  EXPECT_FALSE(fs::exists(PathOf(NewBase + ".JPG")));
}

}  // namespace
