// The typed records of a file and its streams, filled from real files.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "FFDecode/StreamInfo.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;

namespace {

TEST(StrToIntOrZeroTest, FollowsTheToolkitsRule) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"2015", 2015},        {"2015-06-01", 0},     {"3/12", 0},          {"  -12", -12},   {"+7", 7},
      {"$1F", 31},           {"x10", 16},           {"X10", 16},          {"0x10", 16},     {"0XfF", 255},
      {"-$10", -16},         {"2147483647", INT_MAX}, {"2147483648", 0},  {"-2147483648", INT_MIN},
      {"-2147483649", 0},    {"$FFFFFFFF", -1},     {"$100000000", 0},    {"", 0},          {"   ", 0},
      {"12 ", 0},            {"0x", 0},             {"-", 0},             {"1e3", 0},       {"$G", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(StrToIntOrZero(text), value) << '"' << text << '"';
}

TEST(DisplayAspectTest, ProductsDoNotOverflowForLargeSampleAspects) {
  RequireMediaLibraries();
  const AVRational wide = DisplayAspectOf(1440, 1080, {4, 3});
  EXPECT_EQ(wide.num, 16);
  EXPECT_EQ(wide.den, 9);
  // Both products pass 2^32; on 32 bits they would turn into -1 and 0.
  const AVRational square = DisplayAspectOf(65535, 65536, {65537, 65536});
  EXPECT_EQ(square.num, 1);
  EXPECT_EQ(square.den, 1);
  // Beyond the bound the ratio saturates instead of turning negative.
  const AVRational large = DisplayAspectOf(4097, 1080, {INT_MAX, 1});
  EXPECT_EQ(large.num, 1048576);
  EXPECT_EQ(large.den, 1);
}

class StreamInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { RequireMediaLibraries(); }
  void Open(const fs::path& file) { ASSERT_TRUE(decoder_.LoadFile(Wide(file))) << decoder_.LastErrMsg(); }
  TempFolder folder_;
  TFFDecoder decoder_;
};

TEST_F(StreamInfoTest, WithoutAFileEveryRecordHoldsItsUnknownValues) {
  TFileStreamInfo file;
  file.Year = 5;
  decoder_.GetFileStreamInfo(file);
  EXPECT_EQ(decoder_.LastErrMsg(), "file not loaded.");
  EXPECT_EQ(file.StartTime, AV_NOPTS_VALUE);
  EXPECT_EQ(file.Duration, -1);
  EXPECT_EQ(file.BitRate, -1);
  EXPECT_EQ(file.Year, -1);
  EXPECT_EQ(file.Track, -1);
  EXPECT_EQ(file.Title, "");

  TVideoStreamInfo video;
  video.Width = 7;
  decoder_.GetVideoStreamInfo(video);
  EXPECT_EQ(video.Width, -1);
  EXPECT_EQ(video.SampleAspect, -1.0f);
  EXPECT_EQ(video.FrameRate.num, 0);
  EXPECT_EQ(video.FrameRate.den, 1);
  TAudioStreamInfo audio;
  audio.Channels = 2;
  decoder_.GetAudioStreamInfo(-1, audio);
  EXPECT_EQ(audio.Channels, -1);
  EXPECT_EQ(decoder_.LastErrMsg(), "file not loaded.");
}

TEST_F(StreamInfoTest, TheContainerRecordTakesTimesBitRateAndMetadata) {
  MediaSpec spec = VideoAndAudio();
  spec.metadata = {"year=2015", "track=3/12", "title=Über", "album=A", "genre=G", "comment=C", "copyright=c",
                   "author=Au"};
  Open(MakeMedia(folder_ / "tags.mkv", spec));
  TFileStreamInfo file;
  decoder_.GetFileStreamInfo(file);
  EXPECT_EQ(file.StartTime, 0);
  EXPECT_NEAR(static_cast<double>(file.Duration), 1000000.0, 30000.0);
  EXPECT_GT(file.BitRate, 0);
  EXPECT_EQ(file.Year, 2015);
  EXPECT_EQ(file.Track, 0) << "3/12 is not a number";
  EXPECT_EQ(file.Title, "Über");
  EXPECT_EQ(file.Album, "A");
  EXPECT_EQ(file.Genre, "G");
  EXPECT_EQ(file.Comment, "C");
  EXPECT_EQ(file.Copyright, "c");
  EXPECT_EQ(file.Author, "Au");

  Open(MakeMedia(folder_ / "plain.mkv"));
  decoder_.GetFileStreamInfo(file);
  EXPECT_EQ(file.Year, 0);
  EXPECT_EQ(file.Title, "");
}

TEST_F(StreamInfoTest, BitRatesBeyond32BitsStayPositive) {
  const fs::path raw = folder_ / "raw.nut";
  ASSERT_EQ(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=512x512:rate=10000", "-frames:v", "2", "-c:v", "rawvideo",
                       "-pix_fmt", "rgb24", raw.string()}),
            0);
  Open(raw);
  TFileStreamInfo file;
  decoder_.GetFileStreamInfo(file);
  EXPECT_GT(file.BitRate, std::int64_t{INT_MAX});
}

TEST_F(StreamInfoTest, StreamRecordsDescribeTheirStream) {
  MediaSpec spec = VideoAndAudio();
  spec.extra = {"-metadata:s:a", "language=ger", "-c:a", "aac", "-b:a", "64k", "-pix_fmt", "yuv420p"};
  Open(MakeMedia(folder_ / "both.mp4", spec));

  TVideoStreamInfo video;
  decoder_.GetVideoStreamInfo(-1, video);
  EXPECT_EQ(video.Width, 64);
  EXPECT_EQ(video.Height, 48);
  EXPECT_EQ(video.FrameRate.num, 25);
  EXPECT_EQ(video.FrameRate.den, 1);
  EXPECT_EQ(video.PixelFormat, AV_PIX_FMT_YUV420P);
  EXPECT_NE(video.CodecName.find("h264"), std::string::npos) << video.CodecName;
  EXPECT_EQ(video.DurationUs, 1000000);
  EXPECT_EQ(video.StartTimeUs, 0);
  EXPECT_GT(video.BitRate, 0);

  TAudioStreamInfo audio;
  decoder_.GetAudioStreamInfo(-1, audio);
  EXPECT_EQ(audio.Language, "ger");
  EXPECT_EQ(audio.SampleRate, 44100);
  EXPECT_EQ(audio.Channels, 1);
  EXPECT_EQ(audio.SampleFormat, AV_SAMPLE_FMT_FLTP);
  EXPECT_NEAR(static_cast<double>(audio.BitRate), 64000.0, 8000.0);
  EXPECT_NE(audio.CodecName.find("aac"), std::string::npos) << audio.CodecName;
  EXPECT_GT(audio.Duration, 0);
}

TEST_F(StreamInfoTest, AWrongKindOrIndexGivesUnknownValuesAndTheReason) {
  Open(MakeMedia(folder_ / "video.mp4"));
  TAudioStreamInfo audio;
  decoder_.GetAudioStreamInfo(0, audio);
  EXPECT_EQ(decoder_.LastErrMsg(), "stream #0 is not audio stream.");
  EXPECT_EQ(audio.SampleRate, -1);
  decoder_.GetAudioStreamInfo(-1, audio);
  EXPECT_EQ(decoder_.LastErrMsg(), "no audio stream.");
  TVideoStreamInfo video;
  decoder_.GetVideoStreamInfo(1, video);
  EXPECT_EQ(decoder_.LastErrMsg(), "stream index #1 is invalid.");
  EXPECT_EQ(video.Width, -1);

  Open(MakeMedia(folder_ / "tone.m4a", AudioOnly()));
  decoder_.GetVideoStreamInfo(video);
  EXPECT_EQ(decoder_.LastErrMsg(), "no video stream.");
  decoder_.GetVideoStreamInfo(0, video);
  EXPECT_EQ(decoder_.LastErrMsg(), "stream #0 is not video stream.");
}

TEST_F(StreamInfoTest, TheFirstVideoStreamNeedNotBeStreamZero) {
  MediaSpec spec = VideoAndAudio();
  spec.extra = {"-map", "1:a", "-map", "0:v"};
  Open(MakeMedia(folder_ / "audio-first.mkv", spec));
  TVideoStreamInfo video;
  decoder_.GetVideoStreamInfo(-1, video);
  EXPECT_EQ(video.Width, 64);
}

TEST_F(StreamInfoTest, AspectRatiosFollowTheSampleAspect) {
  MediaSpec spec;
  spec.extra = {"-vf", "scale=1440:1080,setsar=4/3", "-frames:v", "1"};
  Open(MakeMedia(folder_ / "anamorphic.mkv", spec));
  TVideoStreamInfo video;
  decoder_.GetVideoStreamInfo(video);
  EXPECT_EQ(video.SampleAspectRatio.num, 4);
  EXPECT_EQ(video.SampleAspectRatio.den, 3);
  EXPECT_EQ(video.DisplayAspectRatio.num, 16);
  EXPECT_EQ(video.DisplayAspectRatio.den, 9);
  EXPECT_FLOAT_EQ(video.DisplayAspect, 16.0f / 9.0f);

  // Nothing known about the aspect: 0/1 in the stream and in its parameters.
  AVStream* stream = decoder_.FormatContext()->streams[0];
  stream->sample_aspect_ratio = {0, 1};
  stream->codecpar->sample_aspect_ratio = {0, 1};
  decoder_.GetVideoStreamInfo(video);
  EXPECT_EQ(video.SampleAspect, 0.0f);
  EXPECT_EQ(video.DisplayAspect, -1.0f);
  EXPECT_EQ(video.DisplayAspectRatio.num, 0);
  EXPECT_EQ(video.DisplayAspectRatio.den, 1);
}

TEST_F(StreamInfoTest, ABrokenTimeBaseIsRepairedInTheOpenFile) {
  Open(MakeMedia(folder_ / "clip.mkv"));
  AVStream* stream = decoder_.FormatContext()->streams[0];
  stream->time_base = {5, 0};
  TVideoStreamInfo video;
  decoder_.GetVideoStreamInfo(video);
  EXPECT_EQ(stream->time_base.num, 5);
  EXPECT_EQ(stream->time_base.den, 5);
  EXPECT_EQ(video.StartTimeUs, video.StartTime * 1000000);
  stream->time_base = {0, 0};
  decoder_.GetVideoStreamInfo(video);
  EXPECT_EQ(stream->time_base.den, 1);
}

TEST_F(StreamInfoTest, AnAverageRateOfZeroFallsBackToTheBaseRate) {
  Open(MakeMedia(folder_ / "clip.mkv"));
  AVStream* stream = decoder_.FormatContext()->streams[0];
  stream->avg_frame_rate = {0, 0};
  stream->r_frame_rate = {25, 1};
  TVideoStreamInfo video;
  decoder_.GetVideoStreamInfo(video);
  EXPECT_EQ(video.FrameRate.num, 25);
  EXPECT_EQ(video.FrameRate.den, 1);
}

}  // namespace
