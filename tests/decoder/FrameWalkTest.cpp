// The four walks through clips of the codecs and containers people have, made at test
// time: forward frame by frame, forward and backward by key frame, backward frame by
// frame. Forward must list what the libraries' probe tool lists; every other walk must
// give the same frames (times, key flags, picture types) as the forward walk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FFDecode/FFDecoder.h"
#include "support/FrameMedia.h"
#include "support/FrameSteps.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestNeeds.h"

namespace fs = std::filesystem;

namespace {

enum class Assembly { Single, JoinedWithJump, IndexCut };

struct Clip {
  std::string name;
  std::string extension;
  std::vector<std::string> encode;  // codec and container arguments of the ffmpeg command
  int seconds;                      // slow encoders get one second
  Assembly assembly;
  std::string tsOffset;  // -output_ts_offset, when not empty
};

Clip Of(std::string name, std::string extension, std::vector<std::string> encode, int seconds = 2,
        Assembly assembly = Assembly::Single, std::string tsOffset = {}) {
  return {std::move(name), std::move(extension), std::move(encode), seconds, assembly, std::move(tsOffset)};
}

std::ostream& operator<<(std::ostream& out, const Clip& clip) { return out << clip.name; }

const std::vector<std::string> kH264 = {"-c:v", "libx264", "-g", "12", "-bf", "2"};
const std::vector<std::string> kMpeg2 = {"-c:v", "mpeg2video", "-g", "12", "-bf", "2"};
const std::vector<std::string> kMpeg4 = {"-c:v", "mpeg4", "-g", "12", "-bf", "2"};

std::vector<std::string> Hevc(int bFrames) {
  return {"-c:v", "libx265", "-preset", "ultrafast", "-x265-params",
          "keyint=12:min-keyint=12:bframes=" + std::to_string(bFrames) + ":log-level=error"};
}

std::vector<std::string> With(std::vector<std::string> arguments, const std::vector<std::string>& more) {
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

fs::path Encode(const Clip& clip, const fs::path& output, const std::string& tsOffset) {
  std::vector<std::string> arguments = {
      "-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=" + std::to_string(clip.seconds), "-pix_fmt",
      "yuv420p"};
  arguments = With(arguments, clip.encode);
  if (!tsOffset.empty()) arguments = With(arguments, {"-output_ts_offset", tsOffset});
  arguments.push_back(output.string());
  EXPECT_EQ(RunFfmpeg(arguments), 0) << clip.name;
  return output;
}

fs::path Make(const Clip& clip, const TempFolder& folder) {
  const fs::path output = folder / (clip.name + clip.extension);
  switch (clip.assembly) {
    case Assembly::Single:
      return Encode(clip, output, clip.tsOffset);
    case Assembly::JoinedWithJump: {
      // Two clips end to end, the second's times 100 seconds on: a jump in the times.
      const std::string first = ReadWholeFile(Encode(clip, folder / "first.ts", ""));
      const std::string second = ReadWholeFile(Encode(clip, folder / "second.ts", "100"));
      return folder.WriteFile(output.filename().string(), first + second);
    }
    case Assembly::IndexCut: {
      // The index chunk closes the file: without it the frames are only counted as read.
      const std::string bytes = ReadWholeFile(Encode(clip, folder / "indexed.avi", ""));
      const std::size_t index = bytes.rfind("idx1");
      EXPECT_NE(index, std::string::npos);
      return folder.WriteFile(output.filename().string(), bytes.substr(0, index));
    }
  }
  return output;
}

const Clip kClips[] = {
    Of("H264InMp4", ".mp4", kH264),
    Of("H264InFragmentedMp4", ".mp4", With(kH264, {"-movflags", "frag_keyframe+empty_moov"})),
    Of("H264InMatroska", ".mkv", kH264),
    Of("H264InMpegTs", ".ts", kH264),
    Of("H264Raw", ".h264", With(kH264, {"-f", "h264"})),
    Of("H264InMpegTsJoinedWithATimeJump", ".ts", kH264, 2, Assembly::JoinedWithJump),
    // The 33-bit times wrap about a second into the clip.
    Of("H264InMpegTsWrappingItsTimes", ".ts", kH264, 2, Assembly::Single, "95441"),
    Of("HevcInMpegTsWithoutBFrames", ".ts", Hevc(0), 1),
    Of("HevcInMp4WithBFrames", ".mp4", Hevc(3), 1),
    Of("HevcInMatroskaWithBFrames", ".mkv", Hevc(3), 1),
    Of("Mpeg2InMpegPs", ".mpg", kMpeg2),
    Of("Mpeg2InMpegTs", ".ts", kMpeg2),
    Of("Mpeg4InAvi", ".avi", kMpeg4),
    Of("Mpeg4InAviWithoutIndex", ".avi", kMpeg4, 2, Assembly::IndexCut),
    // Key frames a second apart, as many personal clips have them: the last one is the
    // clip's last frame, and its packet holds no time.
    Of("Mpeg4WithBFramesInAvi", ".avi", {"-c:v", "mpeg4", "-g", "25", "-bf", "2"}, 4),
    Of("Mpeg4InMp4", ".mp4", kMpeg4),
    Of("Vp9InWebm", ".webm", {"-c:v", "libvpx-vp9", "-g", "12", "-deadline", "realtime", "-cpu-used", "8"}, 1),
    Of("Av1InMatroska", ".mkv", {"-c:v", "libaom-av1", "-g", "12", "-usage", "realtime", "-cpu-used", "8"}, 1),
};

class FrameWalkTest : public ::testing::TestWithParam<Clip> {
 protected:
  static void SetUpTestSuite() { RequireMediaLibraries(); }

  void Open() { ASSERT_TRUE(decoder_.LoadFile(Wide(clip_))) << decoder_.LastErrMsg(); }

  // Opens the clip afresh and reaches its last frame as a viewer does: from a seek near
  // the end, else from the start (the seek may land after the last key frame).
  void OpenAtTheEnd() {
    Open();
    TFileStreamInfo file;
    decoder_.GetFileStreamInfo(file);
    if (file.Duration > 0 && decoder_.Seek({sfBackward}, file.Duration) && !StepForward(decoder_).empty()) return;
    ASSERT_TRUE(decoder_.Seek({}, 0)) << decoder_.LastErrMsg();
    ASSERT_FALSE(StepForward(decoder_).empty()) << decoder_.LastErrMsg();
  }

  TempFolder folder_;
  fs::path clip_;
  TFFDecoder decoder_;
};

TEST_P(FrameWalkTest, EveryWalkGivesTheForwardWalksFrames) {
  if (GetParam().name == "Av1InMatroska") MORVANE_NEEDS(MissingDecoder("libdav1d"));
  clip_ = Make(GetParam(), folder_);
  Open();
  const std::vector<Step> forward = StepForward(decoder_);
  ASSERT_EQ(Lines(forward), ProbeFrames(clip_));
  for (std::size_t i = 1; i < forward.size(); ++i) ASSERT_LT(forward[i - 1].pts, forward[i].pts) << i;
  EXPECT_GE(forward.front().pts, 0) << "every frame has a time";
  const std::vector<Step> keys = KeyFrames(forward);
  ASSERT_GE(keys.size(), 2u);

  Open();
  ASSERT_TRUE(decoder_.Decode());
  std::vector<Step> keyWalk = {Current(decoder_)};
  while (decoder_.DecodeNextKeyFrame() && decoder_.FramePTS() != keyWalk.back().pts)
    keyWalk.push_back(Current(decoder_));
  EXPECT_EQ(keyWalk, keys) << "forward by key frame";

  OpenAtTheEnd();
  std::vector<Step> backward = {Current(decoder_)};
  while (decoder_.DecodePreviousFrame() && decoder_.FramePTS() != backward.back().pts)
    backward.push_back(Current(decoder_));
  EXPECT_EQ(backward, Reversed(forward)) << "backward frame by frame; last message: " << decoder_.LastErrMsg();

  OpenAtTheEnd();
  if (!decoder_.Frame().KeyFrame) {
    ASSERT_TRUE(decoder_.DecodePreviousKeyFrame()) << decoder_.LastErrMsg();
  }
  std::vector<Step> keysBack = {Current(decoder_)};
  while (decoder_.DecodePreviousKeyFrame() && decoder_.FramePTS() != keysBack.back().pts)
    keysBack.push_back(Current(decoder_));
  EXPECT_EQ(keysBack, Reversed(keys)) << "backward by key frame; last message: " << decoder_.LastErrMsg();
}

INSTANTIATE_TEST_SUITE_P(Clips, FrameWalkTest, ::testing::ValuesIn(kClips),
                         [](const ::testing::TestParamInfo<Clip>& info) { return info.param.name; });

}  // namespace
