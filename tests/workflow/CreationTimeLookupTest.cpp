#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FFLoad/FFLoad.h"
#include "workflow/WorkflowFixture.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct ContainerCase {
  const char* name;
  const char* fileName;
  MediaSpec spec;
  std::string creationTime;  // as the row shows it
};

MediaSpec Spec(bool video, std::vector<std::string> metadata, std::vector<std::string> extra = {}) {
  MediaSpec spec;
  spec.video = video;
  spec.audio = !video;
  spec.metadata = std::move(metadata);
  spec.extra = std::move(extra);
  return spec;
}

class ContainerCreationTimeTest : public WorkflowTest, public ::testing::WithParamInterface<ContainerCase> {};

TEST_P(ContainerCreationTimeTest, RowShowsTheContainerLevelValue) {
  const std::string file = MakeMedia(folder / GetParam().fileName, GetParam().spec).string();
  workflow.SelectFiles({file});
  ASSERT_EQ(workflow.Rows().size(), 1u);
  const TFileRow& row = workflow.Rows().front();
  EXPECT_EQ(row.FileName, file);
  EXPECT_EQ(row.CreationTime, GetParam().creationTime);
  EXPECT_EQ(row.NewFileName, "");
  EXPECT_EQ(ResultOf(row), "");
  // The raw value keeps the blank that stands behind the "=".
  EXPECT_EQ(workflow.GetCreationTime(file), " " + GetParam().creationTime);
}

const std::string Stamp = "2015-06-01T10:20:30.000000Z";

INSTANTIATE_TEST_SUITE_P(
    Containers, ContainerCreationTimeTest,
    ::testing::Values(
        ContainerCase{"Mp4", "a.mp4", Spec(true, {"creation_time=" + Stamp}), Stamp},
        ContainerCase{"Mov", "a.mov", Spec(true, {"creation_time=" + Stamp}), Stamp},
        ContainerCase{"Mkv", "a.mkv", Spec(true, {"creation_time=" + Stamp}), Stamp},
        ContainerCase{"M4a", "a.m4a", Spec(false, {"creation_time=" + Stamp}), Stamp},
        // Matroska stores a date and writes it back in its own form.
        ContainerCase{"MkvRewritesTheDate", "b.mkv", Spec(true, {"creation_time=2016-01-02T03:04:05Z"}),
                      "2016-01-02T03:04:05.000000Z"},
        ContainerCase{"KeyInCapitals", "caps.flac", Spec(false, {"CREATION_TIME=2017-01-01 10:00"}),
                      "2017-01-01 10:00"},
        ContainerCase{"KeyInMixedCase", "mixed.nut", Spec(false, {"Creation_Time=2018"}), "2018"},
        ContainerCase{"ValueWithSpacedColon", "colon.nut", Spec(false, {"creation_time=2017-01-01 : x : y"}),
                      "2017-01-01 = x = y"},
        ContainerCase{"MultiLineValueGivesItsFirstLine", "lines.nut",
                      Spec(false, {"creation_time=first line\nsecond line"}), "first line"},
        ContainerCase{"StreamEntryDoesNotShadowTheContainerOne", "both.nut",
                      Spec(false, {"creation_time=container"}, {"-metadata:s:a:0", "creation_time=stream"}),
                      "container"}),
    [](const auto& info) { return std::string(info.param.name); });

struct StreamOnlyCase {
  const char* name;
  const char* fileName;
  MediaSpec spec;
};

class StreamOnlyCreationTimeTest : public WorkflowTest, public ::testing::WithParamInterface<StreamOnlyCase> {};

// The container-level lookup finds nothing; the audio stream's date stands in for the row.
TEST_P(StreamOnlyCreationTimeTest, GivesNoContainerCreationTimeAndTheStreamsDateStandsIn) {
  const std::string file = MakeMedia(folder / GetParam().fileName, GetParam().spec).string();
  EXPECT_EQ(workflow.GetCreationTime(file), "");
  // The entry is in the text, only deeper down.
  EXPECT_THAT(lines.Text(), HasSubstr("    creation_time   = 2016-01-02T03:04:05Z"));
  workflow.SelectFiles({file});
  EXPECT_EQ(workflow.Rows().front().CreationTime, "2016-01-02T03:04:05Z");
  EXPECT_EQ(workflow.Rows().front().CreationTimeSource, "stream #0 creation_time");
}

INSTANTIATE_TEST_SUITE_P(
    Containers, StreamOnlyCreationTimeTest,
    ::testing::Values(
        StreamOnlyCase{"NutStream", "s.nut", Spec(false, {}, {"-metadata:s:a:0", "creation_time=2016-01-02T03:04:05Z"})},
        // Ogg keeps its comments on the stream.
        StreamOnlyCase{"Ogg", "s.ogg", Spec(false, {"creation_time=2016-01-02T03:04:05Z"})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkflowTest, NoOtherTextOfTheReportCanPoseAsTheEntry) {
  // A line break inside a file name or a metadata key must not start a line of its own.
  const std::string decoyName = PathOf("x\n  creation_time   : from-name.nut");
  MakeMedia(decoyName, AudioOnly());
  MediaSpec decoyKey = AudioOnly();
  decoyKey.metadata = {"foo\n  creation_time   =from-key"};
  const std::string keyFile = MakeMedia(folder / "key.nut", decoyKey).string();
  workflow.SelectFiles({decoyName, keyFile});
  EXPECT_EQ(workflow.Rows()[0].CreationTime, "");
  EXPECT_EQ(workflow.Rows()[1].CreationTime, "");
}

TEST_F(WorkflowTest, LineBufferHoldsTheProcessedReportOfTheLastLookup) {
  const std::string file = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  lines.SetText("  creation_time   = stale\n# log line");
  EXPECT_EQ(workflow.GetCreationTime(file), " " + Stamp);
  EXPECT_THAT(lines.Line(0), StartsWith("File Name: "));
  EXPECT_THAT(lines.Text(), HasSubstr("\n  creation_time   = " + Stamp + "\n"));
  EXPECT_THAT(lines.Text(), Not(HasSubstr(" : ")));
  EXPECT_THAT(lines.Text(), Not(HasSubstr("stale")));
  // Trimmed: no empty line at the end.
  EXPECT_NE(lines.Line(lines.Count() - 1), "");

  // A lookup that ends early leaves the buffer empty, never the old text.
  EXPECT_EQ(workflow.GetCreationTime(PathOf("missing.mp4")), "");
  EXPECT_EQ(lines.Count(), 0u);
  lines.SetText("  creation_time   = stale");
  EXPECT_EQ(workflow.GetCreationTime(MakeMedia(folder / "none.mp4").string()), "");
  EXPECT_THAT(lines.Text(), Not(HasSubstr("stale")));
}

TEST_F(WorkflowTest, SelectFilesReplacesAllRowsInTheGivenOrder) {
  const std::string withTime = MakeMediaWithCreationTime(folder / "a.mkv", Stamp).string();
  const std::string without = MakeMedia(folder / "b.mp4").string();
  workflow.SelectFiles({PathOf("gone.mp4"), withTime, without});
  ASSERT_EQ(workflow.Rows().size(), 3u);
  EXPECT_EQ(workflow.Rows()[1].CreationTime, Stamp);
  workflow.RenameFiles();

  workflow.SelectFiles({without, withTime});
  ASSERT_EQ(workflow.Rows().size(), 2u);
  EXPECT_EQ(workflow.Rows()[0].FileName, without);
  EXPECT_EQ(workflow.Rows()[0].CreationTime, "");
  EXPECT_EQ(workflow.Rows()[1].FileName, withTime);
  for (const TFileRow& row : workflow.Rows()) {
    EXPECT_EQ(row.NewFileName, "");
    EXPECT_EQ(ResultOf(row), "");
  }

  workflow.SelectFiles({});
  EXPECT_TRUE(workflow.Rows().empty());
  workflow.RenameFiles();
  EXPECT_TRUE(workflow.Rows().empty());
}

// Files picked or dropped onto a list that is kept join it: one row per file, in the order
// they came, and the rows listed already keep what they show.
TEST_F(WorkflowTest, AddFilesAppendsTheNamesNotListedYetInTheGivenOrder) {
  const std::string withTime = MakeMediaWithCreationTime(folder / "a.mkv", Stamp).string();
  const std::string without = MakeMedia(folder / "b.mp4").string();
  const std::string gone = PathOf("gone.mp4");
  // The window reads on worker threads, morvane-cli mostly on its own.
  for (const unsigned workers : {1u, 3u}) {
    SCOPED_TRACE(workers);
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Workers = workers; });
    workflow.ClearFiles();
    ASSERT_TRUE(workflow.Rows().empty());
    EXPECT_EQ(workflow.AddFiles({without}), 1u);
    workflow.RenameFiles(TRunMode::DryRun);

    EXPECT_EQ(workflow.AddFiles({gone, without, withTime, gone}), 2u);
    std::vector<std::string> names;
    for (const TFileRow& row : workflow.Rows()) names.push_back(row.FileName);
    EXPECT_EQ(names, (std::vector<std::string>{without, gone, withTime}));
    EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: no creation time") << "a listed row keeps its result";
    EXPECT_EQ(workflow.Rows()[2].CreationTime, Stamp);
    EXPECT_EQ(workflow.AddFiles({withTime}), 0u);
    EXPECT_EQ(workflow.Rows().size(), 3u);
  }
}

TEST_F(WorkflowTest, ProgressIsReportedBeforeEachRow) {
  const std::string a = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  const std::string b = PathOf("missing.mp4");
  std::vector<std::string> calls;
  workflow.OnProgress = [&](std::size_t index, std::size_t count, const std::string& name) {
    calls.push_back(std::to_string(index) + "/" + std::to_string(count) + " " + name + " rows=" +
                    std::to_string(workflow.Rows().size()));
  };
  workflow.SelectFiles({a, b});
  workflow.RenameFiles();
  EXPECT_EQ(calls, (std::vector<std::string>{"0/2 " + a + " rows=0", "1/2 " + b + " rows=1", "0/2 " + a + " rows=2",
                                             "1/2 " + b + " rows=2"}));
}

TEST(WorkflowLibrariesTest, FailedLoadGivesEmptyRowsAndIsRetriedByTheNextLookup) {
  TempFolder folder;
  const std::string file = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  // No decoder lives here yet, so the libraries can go.
  FFLoader().UnloadLibs(DecoderLibraries);
  FFLoader().SetLibraryFileName(liAVCodec, u"/morvane-no-such-folder/libmorvane-missing-avcodec.so");

  TFFDecoder decoder;
  TVectorLineBuffer lines;
  TRenamingWorkflow workflow(decoder, lines);
  lines.SetText("old");
  workflow.SelectFiles({file});
  FFLoader().SetLibraryFileName(liAVCodec, u"");
  EXPECT_FALSE(workflow.LibrariesLoaded());
  EXPECT_FALSE(FFLoader().IsLoaded(liAVFormat));
  EXPECT_THAT(workflow.LibraryError(), StartsWith("Load library /morvane-no-such-folder/libmorvane-missing-avcodec.so error: "));
  EXPECT_EQ(lines.Count(), 0u);
  ASSERT_EQ(workflow.Rows().size(), 1u);
  EXPECT_EQ(workflow.Rows()[0].CreationTime, "");
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "skipped: cannot read: " + workflow.LibraryError());
  EXPECT_TRUE(std::filesystem::exists(file));

  // The next lookup loads them (from beside the executable or the system) and succeeds.
  workflow.SelectFiles({file});
  EXPECT_TRUE(workflow.LibrariesLoaded());
  EXPECT_EQ(workflow.Rows()[0].CreationTime, Stamp);
}

}  // namespace
