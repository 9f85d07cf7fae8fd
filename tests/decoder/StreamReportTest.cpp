// The inspector's report of a file and its position text.
#include <gtest/gtest.h>

#include "FFDecode/FFDecoder.h"
#include "FFDecode/StreamReport.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"

namespace {

TEST(PositionTextTest, TruncatesAndDoesNotWrapHours) {
  EXPECT_EQ(PositionText(0), "00:00:00.000");
  EXPECT_EQ(PositionText(3723500000), "01:02:03.500");
  EXPECT_EQ(PositionText(25LL * 3600 * 1000000), "25:00:00.000");
  EXPECT_EQ(PositionText(999999), "00:00:00.999") << "truncated, not rounded";
  EXPECT_EQ(PositionText(40000), "00:00:00.040");
  EXPECT_EQ(PositionText(1000LL * 3600 * 1000000), "1000:00:00.000");
}

class StreamReportTest : public ::testing::Test {
 protected:
  void SetUp() override { RequireMediaLibraries(); }
  TempFolder folder_;
  TFFDecoder decoder_;
};

TEST_F(StreamReportTest, ListsSizeDurationAndEachStream) {
  MediaSpec spec = VideoAndAudio();
  spec.extra = {"-c:a", "aac", "-b:a", "64k"};
  const auto file = MakeMedia(folder_ / "both.mp4", spec);
  ASSERT_TRUE(decoder_.LoadFile(Wide(file)));
  const std::vector<std::string> lines = StreamReportLines(decoder_);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "File Size: " + std::to_string(std::filesystem::file_size(file)));
  EXPECT_EQ(lines[1].substr(0, 24), "File Duration: 00:00:01.");
  EXPECT_EQ(lines[2], "Stream #0: Video");
  EXPECT_EQ(lines[3], "  Video Length: 00:00:01.000");
  EXPECT_EQ(lines[4], "  Video Frame Rate: 25.00");
  EXPECT_EQ(lines[5].substr(0, 18), "  Video Bit Rate: ");
  EXPECT_EQ(lines[5].substr(lines[5].size() - 3), " kb");
  EXPECT_EQ(lines[6], "  Frame size (width X height): 64x48");
  EXPECT_EQ(lines[7], "Stream #1: Audio");
  EXPECT_EQ(lines[8].substr(0, 24), "  Audio Length: 00:00:01");
  EXPECT_EQ(lines[9], "  Audio Sample Rate: 44100 hz");
  EXPECT_EQ(lines[10].substr(0, 18), "  Audio Bit Rate: ");
}

TEST_F(StreamReportTest, UnknownLengthsAndBitRatesAreSaidToBeMissing) {
  MediaSpec spec;
  spec.extra = {"-c:v", "rawvideo", "-f", "nut"};
  const auto raw = MakeMedia(folder_ / "raw.nut", spec);
  ASSERT_TRUE(decoder_.LoadFile(Wide(raw)));
  AVFormatContext* context = decoder_.FormatContext();
  context->duration = AV_NOPTS_VALUE;
  context->streams[0]->duration = AV_NOPTS_VALUE;
  context->streams[0]->codecpar->bit_rate = 999;
  std::vector<std::string> lines = StreamReportLines(decoder_);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[1], "File Duration is not preseted");
  EXPECT_EQ(lines[3], "  Video Length is not preseted");
  EXPECT_EQ(lines[5], "  Video Bit Rate: 0 kb");
  context->streams[0]->codecpar->bit_rate = 0;
  lines = StreamReportLines(decoder_);
  EXPECT_EQ(lines[5], "  Video Bit Rate is not preseted");
}

}  // namespace
