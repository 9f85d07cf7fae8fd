// Where a row's date comes from when the container holds no creation_time: the other dates
// a file holds (a phone's own creation date, a stream's creation time, Matroska's date
// tags, a PNG's tIME chunk) and, on request, its name and its modification time. Real
// files made at test time; the MP4 and PNG ones are then edited byte by byte, as files
// written by other devices come.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "support/FileTimes.h"
#include "workflow/PhotoFactory.h"
#include "workflow/PngFactory.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;
using Dates = std::vector<TFileDate>;

const std::string AppleKey = "com.apple.quicktime.creationdate";

// A short QuickTime or MP4 clip (by extension) written with the given container metadata,
// each entry stored under its own key.
fs::path MakeQuickTime(const fs::path& output, std::vector<std::string> metadata) {
  MediaSpec spec = AudioOnly();
  spec.metadata = std::move(metadata);
  spec.extra = {"-movflags", "use_metadata_tags"};
  return MakeMedia(output, spec);
}

// Renames a key of the file's own key list to one nobody reads ("xreation_time"), so that
// the value stays in the file but no longer counts.
void HideKey(const fs::path& file, const std::string& key) {
  std::string bytes = ReadWholeFile(file);
  const std::size_t at = bytes.find(key, bytes.find("keys"));
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 'x';
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Zeroes the creation time of the first header box of that type ("mvhd" the movie's, "mdhd"
// a track's): the libraries then see no date there, as in files whose writer left it out.
void ClearHeaderDate(const fs::path& file, const std::string& type) {
  std::string bytes = ReadWholeFile(file);
  const std::size_t header = bytes.find(type);
  ASSERT_NE(header, std::string::npos);
  const std::size_t width = bytes[header + 4] == 1 ? 8 : 4;
  bytes.replace(header + 8, width, std::string(width, '\0'));
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

class DateSourcesTest : public WorkflowTest {
 protected:
  const TFileRow& Row(const std::string& file) {
    workflow.SelectFiles({file});
    return workflow.Rows().front();
  }
};

TEST_F(DateSourcesTest, TheContainersCreationTimeWinsAsStoredAndEveryOtherDateIsListed) {
  const std::string clip =
      MakeQuickTime(folder / "phone.mov", {"creation_time=2021-04-10T10:44:00Z", AppleKey + "=2021-04-10T11:43:59+0100"})
          .string();
  // Stored under its own key, the value is used as stored, also when the movie header has it too.
  EXPECT_EQ(Row(clip).CreationTime, "2021-04-10T10:44:00Z");
  EXPECT_EQ(Row(clip).CreationTimeSource, "container metadata");
  EXPECT_EQ(Row(clip).RecordedOffsetSeconds, 3600) << "the phone's own offset";
  EXPECT_EQ(Row(clip).Dates, (Dates{{"container metadata", "2021-04-10T10:44:00Z"},
                                    {AppleKey, "2021-04-10T11:43:59+0100"},
                                    {"stream #0 creation_time", "2021-04-10T10:44:00.000000Z"}}));
  for (const TLookupPath path : {TLookupPath::HeaderFirst, TLookupPath::FullProbe}) {
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Lookup.Path = path; });
    EXPECT_EQ(Row(clip).Dates.size(), 3u) << "both lookups see the same dates";
  }
}

TEST_F(DateSourcesTest, WithoutAContainerCreationTimeTheOtherDatesStandInInTheirOrder) {
  const std::string apple = MakeQuickTime(folder / "apple.mov", {AppleKey + "=2021-04-10T11:43:59+0100"}).string();
  const std::string tracks = MakeMediaWithCreationTime(folder / "tracks.m4a", "2019-02-03T04:05:06Z").string();
  ClearHeaderDate(tracks, "mvhd");
  const std::string appleAndTracks =
      MakeQuickTime(folder / "both.mov", {"creation_time=2019-02-03T04:05:06Z", AppleKey + "=2020-01-02T03:04:05-0500"})
          .string();
  ClearHeaderDate(appleAndTracks, "mvhd");
  HideKey(appleAndTracks, "creation_time");
  MediaSpec tags = AudioOnly();
  tags.metadata = {"DATE_UTC=2011-02-03T04:05:06Z", "DATE_RECORDED=1997-06-20T04:04:04"};
  const std::string recorded = MakeMedia(folder / "recorded.mka", tags).string();
  tags.metadata = {"DATE_UTC=2011-02-03T04:05:06Z"};
  const std::string utc = MakeMedia(folder / "utc.mka", tags).string();
  const std::string png = MakePngWithTime(folder / "still.png", 2022, 5, 28, 14, 6, 57).string();
  const std::string undated = MakePngWithTime(folder / "undated.png", 2022, 13, 28, 14, 6, 57).string();

  const std::vector<std::pair<std::string, TFileDate>> expected = {
      {apple, {AppleKey, "2021-04-10T11:43:59+0100"}},
      {tracks, {"stream #0 creation_time", "2019-02-03T04:05:06.000000Z"}},
      {appleAndTracks, {AppleKey, "2020-01-02T03:04:05-0500"}},
      {recorded, {"DATE_RECORDED", "1997-06-20T04:04:04"}},
      {utc, {"DATE_UTC", "2011-02-03T04:05:06Z"}},
      {png, {"PNG tIME", "2022-05-28T14:06:57Z"}},
      {undated, {}}};
  for (const auto& [file, date] : expected) {
    const TFileRow& row = Row(file);
    EXPECT_EQ(row.ReadProblem, TRowResult{}) << file;
    EXPECT_EQ(row.CreationTimeSource, date.Source) << file;
    EXPECT_EQ(row.CreationTime, date.Text) << file;
    EXPECT_EQ(row.CreationTimeRaw, date.Text) << file;
  }
  EXPECT_EQ(Row(appleAndTracks).RecordedOffsetSeconds, -5 * 3600);
}

TEST_F(DateSourcesTest, TheDateOfATrackThatIsNeitherVideoNorAudioIsListedButNeverUsed) {
  const std::string text = (folder / "text.srt").string();
  // Binary, so that the recorded run of ffmpeg that reads it has the same input everywhere.
  std::ofstream(text, std::ios::binary) << "1\n00:00:00,000 --> 00:00:00,100\nhello\n";
  const std::string clip = PathOf("subtitled.mp4");
  ASSERT_EQ(RunFfmpeg({"-f", "lavfi", "-i", "sine=d=0.2", "-i", text, "-c:s", "mov_text", "-metadata",
                       "creation_time=2019-02-03T04:05:06Z", clip}),
            0);
  // The movie and the sound lose their dates; the subtitle track keeps its own.
  ClearHeaderDate(clip, "mvhd");
  ClearHeaderDate(clip, "mdhd");
  const TFileRow& row = Row(clip);
  EXPECT_EQ(row.CreationTime, "");
  EXPECT_EQ(row.Dates, (Dates{{"stream #1 (other) creation_time", "2019-02-03T04:05:06.000000Z"}}));
}

TEST_F(DateSourcesTest, NameAndModificationTimeGiveADateOnlyWhenAskedAndOnlyWhenTheFileHoldsNone) {
  const std::vector<std::pair<std::string, std::string>> names = {
      {"IMG_20210410_104400.jpg", "2021-04-10T10:44:00"},
      {"VID_20210410_104401.mp4", "2021-04-10T10:44:01"},
      {"PXL_20210410_104402123.mp4", "2021-04-10T10:44:02.123000"},
      {"2021-04-10 10.44.03.jpg", "2021-04-10T10:44:03"},
      {"20210410_104404.mp4", "2021-04-10T10:44:04"},
      {"IMG_20211340_104400.jpg", ""},   // month 13
      {"IMG_120210410_104400.jpg", ""},  // a digit in front: some other number
      {"holiday.mp4", ""}};
  std::vector<std::string> files;
  for (const auto& [name, date] : names)
    files.push_back((name.ends_with(".jpg") ? MakeJpegWithExif(folder / name, {}) : MakeMedia(folder / name)).string());
  const std::string dated = MakeMediaWithCreationTime(folder / "VID_20000101_000000.mp4", "2015-06-01T10:20:30Z").string();
  files.push_back(dated);
  // 2020-02-29 23:00:00.25 UTC, set where every system keeps the fraction.
  const std::int64_t written = 1583017200'250000000;
  ASSERT_TRUE(SetFileTimes(folder / "holiday.mp4", {written, written}));

  workflow.SelectFiles(files);
  for (const TFileRow& row : workflow.Rows()) EXPECT_NE(row.CreationTime.empty(), row.FileName == dated) << row.FileName;

  for (const unsigned workers : {1u, 3u}) {
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Workers = workers; });
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Lookup.Fallbacks.FromName = true; });
    workflow.SelectFiles(files);
    for (std::size_t index = 0; index < names.size(); ++index) {
      EXPECT_EQ(workflow.Rows()[index].CreationTime, names[index].second) << names[index].first;
      EXPECT_EQ(workflow.Rows()[index].CreationTimeSource, names[index].second.empty() ? "" : "file name");
    }
    EXPECT_EQ(workflow.Rows().back().CreationTime, "2015-06-01T10:20:30.000000Z") << "the file's own date first";

    ChangeOptions(workflow, [&](TRunOptions& o) { o.Lookup.Fallbacks.FromMtime = true; });
    workflow.SelectFiles(files);
    EXPECT_EQ(workflow.Rows()[7].CreationTime, "2020-02-29T23:00:00.250000Z");
    EXPECT_EQ(workflow.Rows()[7].CreationTimeSource, "file modification time");
    EXPECT_EQ(workflow.Rows()[0].CreationTimeSource, "file name") << "the name before the modification time";
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Lookup.Fallbacks = {}; });
  }
}

TEST_F(DateSourcesTest, TheRecordedOffsetNamesTheFileAndUtcStandsInWhereThereIsNone) {
  const std::string phone =
      MakeQuickTime(folder / "phone.mov", {"creation_time=2021-04-10T10:44:00Z", AppleKey + "=2021-04-10T11:43:59+0100"})
          .string();
  const std::string camera = MakeQuickTime(folder / "camera.mov", {"creation_time=2021-04-10T10:44:00Z"}).string();
  const std::string photo =
      MakeJpegWithExif(folder / "photo.jpg", {{EXIF_TAG_DATE_TIME_ORIGINAL, "2021:07:10 20:39:25"},
                                              {EXIF_TAG_OFFSET_TIME_ORIGINAL, "+02:00"}})
          .string();
  TPlanOptions options;
  options.Naming.TzRecorded = true;
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Plan = options; });
  workflow.SelectFiles({phone, camera, photo});
  EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[0]), PathOf("2021-04-10T11_44_00.000000+01_00.mov"));
  EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[1]), PathOf("2021-04-10T10_44_00.000000+00_00.mov"));
  EXPECT_EQ(workflow.Rows()[2].RecordedOffsetSeconds, 7200);
  EXPECT_EQ(workflow.PlannedRenameName(workflow.Rows()[2]), PathOf("2021-07-10T20_39_25.000000+02_00.jpg"));
}

}  // namespace
