// The inspection commands of the built morvane-cli, run as a child process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliProcess.h"
#include "support/FrameMedia.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The mean difference per byte between `picture` and the first frame that the libraries'
// own tool takes from `input` (its input options); -1 when the sizes differ.
double DifferenceFromTheToolsFrame(const fs::path& picture, std::vector<std::string> input) {
  input.insert(input.begin(), {"-v", "error", "-nostdin"});
  input.insert(input.end(), {"-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "bgr24", "-"});
  const std::string reference = CaptureTool("ffmpeg", input);
  const std::string ours = CaptureTool(
      "ffmpeg", {"-v", "error", "-nostdin", "-i", picture.string(), "-f", "rawvideo", "-pix_fmt", "bgr24", "-"});
  if (ours.empty() || ours.size() != reference.size()) return -1;
  double difference = 0;
  for (std::size_t i = 0; i < ours.size(); ++i)
    difference += std::abs(static_cast<unsigned char>(ours[i]) - static_cast<unsigned char>(reference[i]));
  return difference / static_cast<double>(ours.size());
}

// The frame lines without their times.
std::vector<std::string> Kinds(const std::vector<std::string>& lines) {
  std::vector<std::string> kinds;
  for (const std::string& line : lines) kinds.push_back(line.substr(line.find('\t') + 1));
  return kinds;
}

class InspectCommandsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new TempFolder;
    clip_ = MakeH264Clip(*media_ / "clip.mp4");
  }
  static void TearDownTestSuite() {
    delete media_;
    media_ = nullptr;
  }
  static TempFolder* media_;
  static fs::path clip_;
  TempFolder folder_;
};

TempFolder* InspectCommandsTest::media_ = nullptr;
fs::path InspectCommandsTest::clip_;

TEST_F(InspectCommandsTest, StreamsWritesTheReport) {
  const CliRun run = RunCliProcess({"streams", clip_.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = SplitLines(run.out);
  ASSERT_EQ(lines.size(), 7u) << run.out;
  EXPECT_EQ(lines[0], "File Size: " + std::to_string(fs::file_size(clip_)));
  EXPECT_EQ(lines[1], "File Duration: 00:00:03.000");
  EXPECT_EQ(lines[2], "Stream #0: Video");
  EXPECT_EQ(lines[4], "  Video Frame Rate: 25.00");
  EXPECT_EQ(lines[6], "  Frame size (width X height): 160x120");
}

TEST_F(InspectCommandsTest, FramesListsWhatTheProbeListsInBothDirections) {
  const CliRun forward = RunCliProcess({"frames", clip_.string()});
  EXPECT_EQ(forward.status, 0);
  EXPECT_EQ(forward.err, "") << "the end of the stream is no message";
  const std::vector<std::string> lines = SplitLines(forward.out);
  EXPECT_EQ(Kinds(lines), ProbeFrames(clip_));
  ASSERT_EQ(lines.size(), 75u);
  EXPECT_EQ(lines[0], "0\tK\tI");
  EXPECT_EQ(lines[74], "2960000\t-\tP");

  const CliRun backward = RunCliProcess({"frames", "--backward", clip_.string()});
  EXPECT_EQ(backward.status, 0);
  EXPECT_EQ(SplitLines(backward.out), std::vector<std::string>(lines.rbegin(), lines.rend()));

  const CliRun keys = RunCliProcess({"frames", "--keys", clip_.string()});
  EXPECT_EQ(keys.out, "0\tK\tI\n1000000\tK\tI\n2000000\tK\tI\n");
  const CliRun keysBack = RunCliProcess({"frames", "--keys", "--backward", clip_.string()});
  EXPECT_EQ(keysBack.out, "2000000\tK\tI\n1000000\tK\tI\n0\tK\tI\n") << "from the last key frame";
}

TEST_F(InspectCommandsTest, FrameWritesThePictureAtTheGivenTime) {
  const fs::path bmp = folder_ / "at.BMP";
  CliRun run = RunCliProcess({"frame", clip_.string(), "1.5", bmp.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(bmp).substr(0, 2), "BM");
  const double difference = DifferenceFromTheToolsFrame(bmp, {"-ss", "1.5", "-i", clip_.string()});
  EXPECT_GE(difference, 0);
  EXPECT_LT(difference, 2.0);

  // A raw stream carries no times: its frames are counted from the start.
  const fs::path raw = folder_ / "clip.h264";
  ASSERT_EQ(RunFfmpeg({"-i", clip_.string(), "-c", "copy", "-f", "h264", raw.string()}), 0);
  const fs::path rawBmp = folder_ / "raw.bmp";
  run = RunCliProcess({"frame", raw.string(), "1.5", rawBmp.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(rawBmp), ReadWholeFile(bmp));

  const fs::path jpeg = folder_ / "at.png";
  run = RunCliProcess({"frame", clip_.string(), "0", jpeg.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(jpeg).substr(0, 2), "\xFF\xD8");
}

TEST_F(InspectCommandsTest, AProgramStreamGivesEachFrameUpToItsLastOne) {
  // Its container tells a length from the bit rate (0.64 s) that the frames outrun, and a
  // seek into its last group of pictures lands on a frame without a time.
  const fs::path mpg = folder_ / "clip.mpg";
  ASSERT_EQ(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25:duration=1", "-c:v", "mpeg2video", "-f", "vob",
                       mpg.string()}),
            0);
  // The tool's own seek in such a stream gives a picture short of its references: the
  // frames are counted from the start instead.
  for (const auto& [seconds, index] : {std::pair{"0.2", 5}, std::pair{"0.6", 15}, std::pair{"0.96", 24}}) {
    const fs::path bmp = folder_ / (std::string(seconds) + ".bmp");
    const CliRun run = RunCliProcess({"frame", mpg.string(), seconds, bmp.string()});
    ASSERT_EQ(run.status, 0) << seconds << ": " << run.err;
    const double difference =
        DifferenceFromTheToolsFrame(bmp, {"-i", mpg.string(), "-vf", "select=eq(n\\," + std::to_string(index) + ")"});
    EXPECT_GE(difference, 0) << seconds;
    EXPECT_LT(difference, 2.0) << seconds;
  }
  const CliRun beyond = RunCliProcess({"frame", mpg.string(), "1.5", (folder_ / "beyond.bmp").string()});
  EXPECT_EQ(beyond.status, 1);
  EXPECT_EQ(beyond.err, "morvane-cli: " + mpg.string() + ": no frame at 1.500 seconds: the clip is 0.960 seconds long.\n");
}

TEST_F(InspectCommandsTest, APortraitClipIsSavedUpright) {
  const fs::path portrait = MakeTurnedClip(folder_ / "portrait.mp4", 1280, 720, 90);
  const fs::path bmp = folder_ / "portrait.bmp";
  const CliRun run = RunCliProcess({"frame", portrait.string(), "0", bmp.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string size =
      CaptureTool("ffprobe", {"-v", "error", "-show_entries", "stream=width,height", "-of", "csv=p=0", bmp.string()});
  EXPECT_EQ(size, "720,1280\n") << "as the libraries' own tool gives it";
}

TEST_F(InspectCommandsTest, FrameRefusesToWriteOverItsOwnClip) {
  const std::string before = ReadWholeFile(clip_);
  const CliRun run = RunCliProcess({"frame", clip_.string(), "1", clip_.string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "morvane-cli: frame: OUT " + clip_.string() +
                         ": this is the media file the frame comes from\nTry 'morvane-cli --help'.\n");
  EXPECT_EQ(ReadWholeFile(clip_), before);
}

TEST_F(InspectCommandsTest, FailuresAndMisuseAreReported) {
  CliRun run = RunCliProcess({"frame", clip_.string(), "60", (folder_ / "late.bmp").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "morvane-cli: " + clip_.string() + ": no frame at 60.000 seconds: the clip is 3.000 seconds long.\n");
  EXPECT_FALSE(fs::exists(folder_ / "late.bmp"));

  run = RunCliProcess({"frame", clip_.string(), "0", (folder_ / "no" / "such.jpg").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("such.jpg: No such file or directory"));

  const fs::path tone = MakeMedia(folder_ / "tone.m4a", AudioOnly());
  run = RunCliProcess({"frames", tone.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "morvane-cli: " + tone.string() + ": no video stream.\n");

  run = RunCliProcess({"streams", (folder_ / "missing.mp4").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("missing.mp4: No such file or directory"));

  for (const std::vector<std::string>& misuse :
       {std::vector<std::string>{"frames"}, {"frames", "--sideways", "x"}, {"streams", "a", "b"},
        {"frame", clip_.string(), "soon", "x.bmp"}, {"frame", clip_.string(), "-1", "x.bmp"}}) {
    run = RunCliProcess(misuse);
    EXPECT_EQ(run.status, 2) << misuse.back();
    EXPECT_THAT(run.err, HasSubstr("Try 'morvane-cli --help'."));
  }
}

TEST(InspectHelpTest, TheHelpNamesTheInspectionCommands) {
  const CliRun run = RunCliProcess({"--help"});
  for (const char* part : {"morvane-cli streams [--] FILE", "morvane-cli frames [--backward] [--keys] [--] FILE",
                           "morvane-cli frame [--] FILE SECONDS OUT", "time in microseconds TAB K or -"})
    EXPECT_THAT(run.out, HasSubstr(part));
}

}  // namespace
