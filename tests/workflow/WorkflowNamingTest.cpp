// Runs of the workflow with name patterns, zones, unset dates and photos: real clips and
// photos made at test time, the files on disk checked before and after.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "workflow/PhotoFactory.h"
#include "workflow/dates/TimeZone.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;

const std::string Stamp = "2015-06-01T10:20:30.000000Z";

TPlanOptions Zoned(std::string format, const char* tz, const char* assumeTz = nullptr) {
  TPlanOptions options;
  options.Naming.Format = std::move(format);
  if (tz) options.Naming.Tz = TTimeZone::Find(tz);
  if (assumeTz) options.Naming.AssumeTz = TTimeZone::Find(assumeTz);
  return options;
}

using WorkflowNamingTest = CopyFolderTest;

TEST_F(WorkflowNamingTest, APatternAndAZoneNameTheRenameAndTheCopy) {
  const std::string clip = MakeClipWithCreationTime(folder / "clip.flac", Stamp).string();
  const std::string zoneless = MakeClipWithCreationTime(folder / "avi.flac", "2003-03-10 15:04:43").string();
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = Zoned("%Y%m%d_%H%M%S%z", "Europe/Berlin"); });
  workflow.SelectFiles({clip, zoneless});
  workflow.CopyFiles(out.string());
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "copied");
  EXPECT_EQ(workflow.Rows()[0].NewFileName, (out / "20150601_122030+0200.flac").string());
  // A time without zone is used as written: no offset to show.
  EXPECT_EQ(workflow.Rows()[1].NewFileName, (out / "20030310_150443.flac").string());
  EXPECT_EQ(ReadWholeFile(out / "20150601_122030+0200.flac"), ReadWholeFile(clip));

  // The zone alone keeps the ISO form with the zone's offset; the creation time column
  // keeps what the file stores.
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = Zoned("", "Europe/Berlin"); });
  workflow.RenameFiles();
  EXPECT_EQ(workflow.Rows()[0].CreationTime, Stamp);
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_TRUE(fs::exists(folder / "2015-06-01T12_20_30.000000+02_00.flac"));
  EXPECT_TRUE(fs::exists(folder / "2003-03-10 15_04_43.flac")) << "unchanged without --assume-tz";
  EXPECT_FALSE(fs::exists(clip));
}

TEST_F(WorkflowNamingTest, AnAssumedZoneReadsCameraTimesAsItsWallTime) {
  const std::string utc = MakeClipWithCreationTime(folder / "utc.flac", Stamp).string();
  const std::string zoneless = MakeClipWithCreationTime(folder / "avi.flac", "2003-03-10 15:04:43").string();
  const std::string offset = MakeClipWithCreationTime(folder / "off.flac", "2015-06-01T10:20:30+05:00").string();
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = Zoned("%H%M%z", "UTC", "Europe/Paris"); });
  workflow.SelectFiles({utc, zoneless, offset});
  EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[0]), PathOf("0820+0000.flac"));
  EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[1]), PathOf("1404+0000.flac"));
  // A real offset is the camera's own word: it is kept.
  EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[2]), PathOf("0520+0000.flac"));
}

TEST_F(WorkflowNamingTest, ATimeTheOptionsCannotReadIsSkippedAndNeverMadeUp) {
  const std::string odd = MakeClipWithCreationTime(folder / "odd.flac", "last tuesday").string();
  const std::string good = MakeClipWithCreationTime(folder / "good.flac", Stamp).string();
  const auto before = Snapshot(folder.path());
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = Zoned("%Y-%m-%d", nullptr); });
  workflow.SelectFiles({odd, good});
  workflow.RenameFiles(TRunMode::DryRun);
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: creation time not understood");
  EXPECT_EQ(workflow.Rows()[0].NewFileName, "");
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "would rename");
  EXPECT_EQ(Snapshot(folder.path()), before);
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: creation time not understood");
  EXPECT_TRUE(fs::exists(odd));
  EXPECT_TRUE(fs::exists(folder / "2015-06-01.flac"));

  // Without options the text is the name, as it always was.
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = {}; });
  workflow.SelectFiles({odd});
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_TRUE(fs::exists(folder / "last tuesday.flac"));
}

TEST_F(WorkflowNamingTest, DatesFromUnsetClocksAreFlaggedAndSkippedOnRequest) {
  const std::string epoch = MakeClipWithCreationTime(folder / "epoch.flac", "1970-01-01T00:00:00.000000Z").string();
  const std::string y2k = MakeClipWithCreationTime(folder / "y2k.flac", "2000-01-01T00:00:00Z").string();
  const std::string later = MakeClipWithCreationTime(folder / "later.flac", "2000-01-01T00:00:01Z").string();
  const std::string future = MakeClipWithCreationTime(folder / "future.flac", "2999-01-01T00:00:00Z").string();
  TPlanOptions skip;
  skip.SkipUnsetDates = true;
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = skip; });
  workflow.SelectFiles({epoch, y2k, later, future});
  std::vector<bool> flagged;
  for (const TFileRow& row : workflow.Rows()) flagged.push_back(row.DateLooksUnset);
  EXPECT_THAT(flagged, ::testing::ElementsAre(true, true, false, true));
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: date looks unset");
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "skipped: date looks unset");
  EXPECT_EQ(ResultOf(workflow.Rows()[2]), "renamed");
  EXPECT_EQ(ResultOf(workflow.Rows()[3]), "skipped: date looks unset");
  EXPECT_TRUE(fs::exists(epoch));
  EXPECT_TRUE(fs::exists(y2k));
  EXPECT_TRUE(fs::exists(future));
  EXPECT_FALSE(fs::exists(later));

  // Without the option they are renamed and stay flagged.
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = {}; });
  workflow.SelectFiles({epoch});
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_TRUE(workflow.Rows()[0].DateLooksUnset);
  EXPECT_TRUE(fs::exists(folder / "1970-01-01T00_00_00.000000Z.flac"));
}

TEST_F(WorkflowNamingTest, APhotoTakesItsExifDateAndSaysWhereItCameFrom) {
  const std::string jpeg = MakeJpegWithExif(folder / "photo.jpg", {{EXIF_TAG_DATE_TIME_ORIGINAL, "2021:07:10 20:39:25"},
                                                                   {EXIF_TAG_OFFSET_TIME_ORIGINAL, "+01:00"}})
                               .string();
  const std::string bare = MakeJpegWithExif(folder / "bare.jpg", {}).string();
  const std::string clip = MakeClipWithCreationTime(folder / "clip.flac", Stamp).string();
  workflow.SelectFiles({jpeg, bare, clip});
  const TFileRow& photo = workflow.Rows()[0];
  EXPECT_EQ(photo.CreationTime, "2021-07-10T20:39:25.000000+01:00");
  EXPECT_EQ(photo.CreationTimeSource, "EXIF DateTimeOriginal, OffsetTimeOriginal");
  EXPECT_EQ(photo.CreationTimeRaw, "2021:07:10 20:39:25, +01:00");
  EXPECT_EQ(workflow.Rows()[1].CreationTime, "");
  EXPECT_EQ(workflow.Rows()[1].CreationTimeSource, "");
  EXPECT_EQ(workflow.Rows()[2].CreationTimeSource, "container metadata");
  EXPECT_EQ(workflow.Rows()[2].CreationTimeRaw, Stamp);

  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = Zoned("", "UTC"); });
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_EQ(ResultOf(workflow.Rows()[1]), "skipped: no creation time");
  EXPECT_TRUE(fs::exists(folder / "2021-07-10T19_39_25.000000+00_00.jpg"));
  EXPECT_TRUE(fs::exists(bare));
}

}  // namespace
