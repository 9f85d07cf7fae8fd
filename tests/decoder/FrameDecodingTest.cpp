// Stepping through real clips frame by frame, forward and backward, against what the
// libraries' own probe tool lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "FFDecode/FFDecoder.h"
#include "FFLoad/EntryPoints.h"
#include "FFLog/FFLog.h"
#include "Base/FFError.h"
#include "Text/Format.h"
#include "platform/System.h"
#include "support/FrameMedia.h"
#include "support/FrameSteps.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kFrame = 40000;  // microseconds at 25 fps

// Reaches the last frame by decoding from the start, then steps back with `step` for as
// long as each step gives an earlier frame.
template <typename StepBack>
std::vector<Step> StepBackwardFromTheEnd(TFFDecoder& decoder, StepBack step) {
  std::vector<Step> steps;
  EXPECT_TRUE(decoder.Seek({}, 0));
  while (decoder.Decode()) {
  }
  steps.push_back(Current(decoder));
  while (step() && decoder.FramePTS() < steps.back().pts) steps.push_back(Current(decoder));
  return steps;
}

TEST(VideoFrameRateTest, TheAverageRateFirstThenTheCodecsWhenItAgreesElseTheBaseRate) {
  std::string line;
  AVRational rate = ChooseVideoFrameRate(0, {30000, 1001}, {1, 50}, 2, {25, 1}, line);
  EXPECT_EQ(rate.num, 30000);
  EXPECT_EQ(line, "");
  rate = ChooseVideoFrameRate(0, {0, 0}, {0, 0}, 1, {25, 1}, line);
  EXPECT_EQ(rate.num, 25) << "no codec time base: the base rate, without a word";
  EXPECT_EQ(line, "");
  rate = ChooseVideoFrameRate(0, {0, 1}, {1, 50}, 2, {25, 1}, line);
  EXPECT_EQ(rate.num, 50) << "the codec's rate, not divided by its ticks per frame";
  EXPECT_EQ(rate.den, 1);
  rate = ChooseVideoFrameRate(3, {0, 0}, {1, 30}, 1, {25, 1}, line);
  EXPECT_EQ(rate.num, 25);
  EXPECT_EQ(line, text::FormatWithSeparator("Seems stream 3 codec frame rate differs from container frame rate: "
                                            "%2.2f (30/1) -> %2.2f (25/1)",
                                            {30.0, 25.0}, platform::DecimalSeparator()));
}

class FrameDecodingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RequireMediaLibraries();
    media_ = new TempFolder;
    mp4_ = MakeH264Clip(*media_ / "clip.mp4");
    ts_ = MakeTransportStreamClip(*media_ / "clip.ts");
  }
  static void TearDownTestSuite() {
    delete media_;
    media_ = nullptr;
  }
  void Open(const fs::path& file) { ASSERT_TRUE(decoder_.LoadFile(Wide(file))) << decoder_.LastErrMsg(); }

  static TempFolder* media_;
  static fs::path mp4_;
  static fs::path ts_;
  TempFolder folder_;
  TFFDecoder decoder_;
};

TempFolder* FrameDecodingTest::media_ = nullptr;
fs::path FrameDecodingTest::mp4_;
fs::path FrameDecodingTest::ts_;

TEST_F(FrameDecodingTest, StepsThroughEveryFrameTheProbeListsAndThenReportsTheEnd) {
  for (const fs::path& file : {mp4_, ts_}) {
    SCOPED_TRACE(file.filename().string());
    Open(file);
    const std::vector<Step> steps = StepForward(decoder_);
    EXPECT_EQ(Lines(steps), ProbeFrames(file)) << "the delayed frames at the end are delivered too";
    ASSERT_EQ(steps.size(), 75u);
    for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i].pts, static_cast<std::int64_t>(i) * kFrame);
    EXPECT_EQ(decoder_.LastErrMsg(), "TFFDecoder.Decode() for video: stream eof reached.");
    EXPECT_TRUE(decoder_.EndOfStream());
    EXPECT_EQ(decoder_.FramePTS(), 74 * kFrame) << "the last frame stays current";
    EXPECT_FALSE(decoder_.Decode()) << "and the end is reported again without reading";
    EXPECT_EQ(decoder_.LastErrMsg(), "TFFDecoder.Decode() for video: stream eof reached.");
  }
}

TEST_F(FrameDecodingTest, StepsBackFromTheEndThroughTheSameFramesInReverse) {
  for (const fs::path& file : {mp4_, ts_}) {
    SCOPED_TRACE(file.filename().string());
    Open(file);
    std::vector<Step> forward = StepForward(decoder_);
    decoder_.CloseFile();
    Open(file);
    const std::vector<Step> backward = StepBackwardFromTheEnd(decoder_, [&] { return decoder_.DecodePreviousFrame(); });
    std::vector<Step> reversed(forward.rbegin(), forward.rend());
    EXPECT_EQ(backward, reversed);
  }
}

TEST_F(FrameDecodingTest, KeyFrameStepsVisitEachKeyFrameBothWays) {
  const std::vector<Step> keys = {{0, "K\tI"}, {25 * kFrame, "K\tI"}, {50 * kFrame, "K\tI"}};
  for (const fs::path& file : {mp4_, ts_}) {
    SCOPED_TRACE(file.filename().string());
    Open(file);
    ASSERT_TRUE(decoder_.Decode());
    std::vector<Step> forward = {Current(decoder_)};
    while (decoder_.DecodeNextKeyFrame() && decoder_.FramePTS() > forward.back().pts) forward.push_back(Current(decoder_));
    EXPECT_EQ(forward, keys);

    const std::vector<Step> backward =
        StepBackwardFromTheEnd(decoder_, [&] { return decoder_.DecodePreviousKeyFrame(); });
    ASSERT_EQ(backward.size(), 4u) << decoder_.LastErrMsg();
    EXPECT_EQ(backward[0].pts, 74 * kFrame);
    EXPECT_EQ(std::vector<Step>(backward.begin() + 1, backward.end()), std::vector<Step>(keys.rbegin(), keys.rend()));
  }
}

// The window's "Next K-F" and frames --keys step on from the last key frame: the step
// stays on it, and the frames after it follow it again.
TEST_F(FrameDecodingTest, TheNextKeyFrameOnOrAfterTheLastKeyFrameIsTheLastKeyFrame) {
  const Step lastKey{50 * kFrame, "K\tI"};
  for (const fs::path& file : {mp4_, ts_}) {
    SCOPED_TRACE(file.filename().string());
    Open(file);
    ASSERT_TRUE(decoder_.Decode());
    ASSERT_TRUE(decoder_.DecodeNextKeyFrame() && decoder_.DecodeNextKeyFrame()) << decoder_.LastErrMsg();
    ASSERT_EQ(Current(decoder_), lastKey);
    EXPECT_TRUE(decoder_.DecodeNextKeyFrame()) << "on it: " << decoder_.LastErrMsg();
    EXPECT_EQ(Current(decoder_), lastKey);
    ASSERT_TRUE(decoder_.Decode()) << decoder_.LastErrMsg();
    EXPECT_EQ(decoder_.FramePTS(), 51 * kFrame);

    while (decoder_.Decode()) {
    }
    ASSERT_EQ(decoder_.FramePTS(), 74 * kFrame);
    EXPECT_TRUE(decoder_.DecodeNextKeyFrame()) << "after it: " << decoder_.LastErrMsg();
    EXPECT_EQ(Current(decoder_), lastKey);
    ASSERT_TRUE(decoder_.Decode()) << decoder_.LastErrMsg();
    EXPECT_EQ(decoder_.FramePTS(), 51 * kFrame);
  }
}

TEST_F(FrameDecodingTest, ThePreviousKeyFrameOfTheFirstKeyFrameIsItself) {
  for (const fs::path& file : {mp4_, ts_}) {
    SCOPED_TRACE(file.filename().string());
    Open(file);
    ASSERT_TRUE(decoder_.Decode());
    ASSERT_TRUE(decoder_.DecodePreviousKeyFrame()) << decoder_.LastErrMsg();
    EXPECT_EQ(Current(decoder_), (Step{0, "K\tI"}));
    ASSERT_TRUE(decoder_.DecodePreviousFrame()) << decoder_.LastErrMsg();
    EXPECT_EQ(decoder_.FramePTS(), 0) << "there is no frame before the first";
  }
}

TEST_F(FrameDecodingTest, ThePreviousKeyFrameSearchEndsWhenNoFrameLiesBeforeTheReference) {
  Open(mp4_);
  // Every frame now lies two seconds after the start the stream claims, and without a
  // frame or a known duration the search starts from 0: no frame lies before it.
  AVStream* stream = decoder_.FormatContext()->streams[0];
  stream->start_time = -2 * stream->time_base.den / stream->time_base.num;
  decoder_.FormatContext()->duration = AV_NOPTS_VALUE;
  // Each failure says its own reason once, however often the step fails.
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_FALSE(decoder_.DecodePreviousKeyFrame());
    EXPECT_EQ(decoder_.LastErrMsg(), "Could not seek to the previous key-frame. no key frame lies before 0.000 seconds.");
  }
  ASSERT_TRUE(decoder_.Decode()) << "the decoder stays usable";
  EXPECT_GE(decoder_.FramePTS(), 2000000);
}

TEST_F(FrameDecodingTest, TheFrameBeforeLiesOneFrameBackAlsoAcrossAKeyFrame) {
  Open(mp4_);
  for (int i = 0; i <= 25; ++i) ASSERT_TRUE(decoder_.Decode());
  ASSERT_EQ(decoder_.FramePTS(), 25 * kFrame);
  ASSERT_TRUE(decoder_.DecodePreviousFrame()) << decoder_.LastErrMsg();
  EXPECT_EQ(decoder_.FramePTS(), 24 * kFrame);
  ASSERT_TRUE(decoder_.DecodePreviousFrame());
  EXPECT_EQ(decoder_.FramePTS(), 23 * kFrame);
  ASSERT_TRUE(decoder_.Decode());
  EXPECT_EQ(decoder_.FramePTS(), 24 * kFrame) << "stepping on continues from the frame reached";
}

TEST_F(FrameDecodingTest, StepsBackThroughRunsBetweenKeyFramesLongerThanTheFramesKept) {
  // Room for ten of the 160x120 pictures, where 25 lie between key frames.
  decoder_.SetKeptFramesBound(10 * 160 * 120 * 3 / 2);
  Open(mp4_);
  const std::vector<Step> forward = StepForward(decoder_);
  ASSERT_EQ(forward.size(), 75u);
  EXPECT_EQ(StepBackwardFromTheEnd(decoder_, [&] { return decoder_.DecodePreviousFrame(); }), Reversed(forward));
  const std::vector<Step> keys = StepBackwardFromTheEnd(decoder_, [&] { return decoder_.DecodePreviousKeyFrame(); });
  EXPECT_EQ(std::vector<Step>(keys.begin() + 1, keys.end()), Reversed(KeyFrames(forward)));
  // Forward again from a frame reached backward: the frames after it, then the decoder's.
  Open(mp4_);
  for (int i = 0; i <= 40; ++i) ASSERT_TRUE(decoder_.Decode());
  for (int i = 0; i < 15; ++i) ASSERT_TRUE(decoder_.DecodePreviousFrame()) << decoder_.LastErrMsg();
  ASSERT_EQ(decoder_.FramePTS(), 25 * kFrame);
  EXPECT_EQ(StepForward(decoder_), std::vector<Step>(forward.begin() + 26, forward.end()));
}

TEST_F(FrameDecodingTest, SeeksToTheStartBetweenKeyFramesRepeatedlyAndByByte) {
  for (const fs::path& file : {mp4_, ts_}) {
    SCOPED_TRACE(file.filename().string());
    Open(file);
    for (int round = 0; round < 3; ++round) {
      ASSERT_TRUE(decoder_.Seek({sfBackward}, 30 * kFrame)) << decoder_.LastErrMsg();
      EXPECT_EQ(decoder_.FramePTS(), AV_NOPTS_VALUE) << "a seek forgets the current frame";
      std::vector<Step> steps = StepForward(decoder_);
      ASSERT_FALSE(steps.empty());
      // MP4 seeks to the key frame before the target; MPEG-TS to a packet before it, from
      // which the decoder starts at the next key frame.
      EXPECT_TRUE(steps.front() == (Step{25 * kFrame, "K\tI"}) || steps.front() == (Step{50 * kFrame, "K\tI"}))
          << steps.front();
      EXPECT_EQ(steps.back().pts, 74 * kFrame);

      ASSERT_TRUE(decoder_.Seek({}, 0)) << decoder_.LastErrMsg();
      EXPECT_FALSE(decoder_.EndOfStream());
      ASSERT_TRUE(decoder_.Decode());
      EXPECT_EQ(Current(decoder_), (Step{0, "K\tI"}));
    }
  }
  // MP4 refuses to seek by byte; MPEG-TS can.
  Open(mp4_);
  EXPECT_FALSE(decoder_.Seek({sfByte}, 0));
  EXPECT_EQ(decoder_.LastErrMsg(), "TFFDecoder.Seek(): could not seek to position 0 bytes");
  Open(ts_);
  ASSERT_TRUE(decoder_.Seek({sfByte}, 0)) << decoder_.LastErrMsg();
  ASSERT_TRUE(decoder_.Decode());
  EXPECT_EQ(decoder_.FramePTS(), 0);
}

TEST_F(FrameDecodingTest, SeeksPastTheEndAndToTheEndsOfTheRangeFailOrLandWithoutHarm) {
  Open(mp4_);
  ASSERT_TRUE(decoder_.Decode());
  const std::int64_t targets[] = {1000 * 1000000LL, std::numeric_limits<std::int64_t>::max(),
                                  std::numeric_limits<std::int64_t>::min() + 1, -5 * 1000000LL};
  for (const std::int64_t target : targets) {
    SCOPED_TRACE(target);
    if (decoder_.Seek({}, target)) {
      if (decoder_.Decode()) {
        EXPECT_GE(decoder_.FramePTS(), 0);
        EXPECT_LE(decoder_.FramePTS(), 74 * kFrame);
      }
    } else {
      EXPECT_NE(decoder_.LastErrMsg().find("TFFDecoder.Seek(): could not seek to position "), std::string::npos);
    }
  }
  ASSERT_TRUE(decoder_.Seek({}, 0));
  ASSERT_TRUE(decoder_.Decode());
  EXPECT_EQ(decoder_.FramePTS(), 0);
}

TEST_F(FrameDecodingTest, EveryReadAndSeekStartsItsOwnTimeLimit) {
  Open(mp4_);
  // A start mark of 0 would cancel the next blocking call; each read and seek sets its own.
  decoder_.IOStartTime = 0;
  ASSERT_TRUE(decoder_.Decode()) << decoder_.LastErrMsg();
  EXPECT_GT(decoder_.IOStartTime, 0);
  decoder_.IOStartTime = 0;
  ASSERT_TRUE(decoder_.Seek({sfBackward}, 30 * kFrame)) << decoder_.LastErrMsg();
  EXPECT_GT(decoder_.IOStartTime, 0);
}

TEST_F(FrameDecodingTest, NextKeyFrameWithoutAFrameGoesOneFrameIntoTheStream) {
  Open(mp4_);
  ASSERT_TRUE(decoder_.DecodeNextKeyFrame()) << decoder_.LastErrMsg();
  EXPECT_EQ(Current(decoder_), (Step{25 * kFrame, "K\tI"}));
}

TEST_F(FrameDecodingTest, EveryStepFailsWithoutAVideoStreamOrAFile) {
  for (const auto& step : std::vector<bool (TFFDecoder::*)(int)>{
           &TFFDecoder::Decode, &TFFDecoder::DecodePreviousFrame, &TFFDecoder::DecodeNextKeyFrame,
           &TFFDecoder::DecodePreviousKeyFrame}) {
    decoder_.CloseFile();
    EXPECT_FALSE((decoder_.*step)(-1));
    EXPECT_EQ(decoder_.LastErrMsg(), "file not loaded.");
    Open(MakeMedia(folder_ / "tone.m4a", AudioOnly()));
    EXPECT_FALSE((decoder_.*step)(-1));
    EXPECT_EQ(decoder_.LastErrMsg(), "no video stream.");
    EXPECT_FALSE((decoder_.*step)(0));
    EXPECT_EQ(decoder_.LastErrMsg(), "stream #0 is not video stream.");
    EXPECT_FALSE((decoder_.*step)(3));
    EXPECT_EQ(decoder_.LastErrMsg(), "stream index #3 is invalid.");
  }
  EXPECT_FALSE(decoder_.Seek({}, 0) && decoder_.Decode());
}

TEST_F(FrameDecodingTest, TheDefaultStreamFollowsTheLastStep) {
  const fs::path file = folder_ / "two.mkv";
  ASSERT_EQ(RunFfmpeg({"-i", mp4_.string(), "-f", "lavfi", "-i", "testsrc=size=32x16:rate=10:duration=1", "-map",
                       "1:v", "-map", "0:v", "-c:v", "ffv1", "-g", "1", file.string()}),
            0);
  Open(file);
  ASSERT_TRUE(decoder_.Decode(1));
  EXPECT_EQ(decoder_.Frame().Width, 160);
  ASSERT_TRUE(decoder_.Decode(-1));
  EXPECT_EQ(decoder_.VideoStreamIndex(), 1) << "after a frame of stream 1, -1 means stream 1";
  EXPECT_EQ(decoder_.FramePTS(), kFrame);
  ASSERT_TRUE(decoder_.Decode(0)) << decoder_.LastErrMsg();
  EXPECT_EQ(decoder_.Frame().Width, 32);
  EXPECT_EQ(decoder_.VideoStreamIndex(), 0);
  EXPECT_EQ(decoder_.VideoFrameRate().num, 10);
  EXPECT_EQ(decoder_.PrevFramePTS(), kFrame) << "the change forgot the other stream's frame";
}

TEST_F(FrameDecodingTest, AnAdoptedContextCannotBeStepped) {
  AVFormatContext* raw = nullptr;
  ASSERT_EQ(ff::avformat.avformat_open_input(&raw, mp4_.string().c_str(), nullptr, nullptr), 0);
  ff::InputContextPtr elsewhere(raw);
  ASSERT_GE(ff::avformat.avformat_find_stream_info(raw, nullptr), 0);
  decoder_.AttachFormatContext(raw);
  EXPECT_THROW(decoder_.Decode(), EFFError);
  EXPECT_EQ(decoder_.LastErrMsg(), "file cannot be seeked, handle is readonly.");
  decoder_.CloseFile();
}

TEST_F(FrameDecodingTest, AStillPictureKeepsDeliveringItsPictureAndCannotSeek) {
  const fs::path picture = folder_ / "still.png";
  ASSERT_EQ(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=40x30", "-frames:v", "1", picture.string()}), 0);
  ASSERT_TRUE(decoder_.LoadFile(Wide(picture), "image2")) << decoder_.LastErrMsg();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(decoder_.Decode()) << decoder_.LastErrMsg();
    EXPECT_EQ(decoder_.Frame().Width, 40);
  }
  EXPECT_FALSE(decoder_.Seek({}, 0));
  EXPECT_EQ(decoder_.LastErrMsg(), "\"image2\" format cannot to be seeked.");
}

TEST_F(FrameDecodingTest, ADamagedMiddleIsSteppedThroughInBothDirectionsWithoutHanging) {
  std::string bytes = ReadWholeFile(ts_);
  for (std::size_t i = bytes.size() / 3; i < bytes.size() / 3 + 6000; ++i) bytes[i] = static_cast<char>(i * 7);
  const fs::path damaged = folder_.WriteFile("damaged.ts", bytes);
  Open(damaged);
  const std::vector<Step> forward = StepForward(decoder_);
  EXPECT_GT(forward.size(), 25u);
  EXPECT_LT(forward.size(), 76u);
  std::size_t backward = 0;
  std::int64_t last = decoder_.FramePTS();
  while (decoder_.DecodePreviousFrame() && decoder_.FramePTS() < last) {
    last = decoder_.FramePTS();
    ++backward;
  }
  EXPECT_GT(backward, 10u);
  EXPECT_LT(backward, forward.size());
}

TEST_F(FrameDecodingTest, AReopenStartsFromTheFirstFrame) {
  Open(mp4_);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(decoder_.Decode());
  Open(mp4_);
  EXPECT_EQ(decoder_.VideoStreamIndex(), -1);
  EXPECT_EQ(decoder_.PrevFramePTS(), AV_NOPTS_VALUE);
  EXPECT_FALSE(decoder_.Frame().FrameReady);
  ASSERT_TRUE(decoder_.Decode());
  EXPECT_EQ(decoder_.FramePTS(), 0);
  EXPECT_EQ(decoder_.PrevFramePTS(), AV_NOPTS_VALUE);
}

}  // namespace
