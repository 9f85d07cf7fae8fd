// Opening, probing and closing real files made at test time.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <limits>
#include <vector>

#include "Base/FFError.h"
#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestNeeds.h"

namespace {

// Exposes the libraries' interrupt check to the tests.
class ProbeDecoder : public TFFDecoder {
 public:
  using TCustomDecoder::InterruptCallback;
};

// Collects the component messages that reach the application's logger.
class LogCapture {
 public:
  LogCapture() {
    logger_.SetOnLog([this](const void*, std::uint32_t, TLogLevel level, const std::string& message) {
      messages_.push_back({level, message});
    });
  }
  struct Entry {
    TLogLevel level;
    std::string message;
  };
  const std::vector<Entry>& messages() const { return messages_; }
  TFFLogger& logger() { return logger_; }

 private:
  TFFLogger logger_;
  std::vector<Entry> messages_;
};

class DecoderTest : public ::testing::Test {
 protected:
  void SetUp() override { RequireMediaLibraries(); }
  TempFolder folder_;
  ProbeDecoder decoder_;
};

TEST_F(DecoderTest, StartsWithoutAFileAndReportsThat) {
  EXPECT_EQ(decoder_.StreamCount(), -1);
  EXPECT_EQ(decoder_.FileSize(), -1);
  EXPECT_EQ(decoder_.FirstVideoStream(), -1);
  EXPECT_EQ(decoder_.FileInfoText(), "");
  EXPECT_EQ(decoder_.LastErrMsg(), "file not loaded.");
  EXPECT_FALSE(decoder_.IsAudioStream(0));
  EXPECT_EQ(decoder_.Version(), "5.5");
  EXPECT_EQ(decoder_.IOTimeout, 30000);
}

TEST_F(DecoderTest, CachesTheFactsOfAnOpenFile) {
  MediaSpec spec;
  spec.audio = true;
  const auto file = MakeMedia(folder_ / "clip.mkv", spec);
  ASSERT_TRUE(decoder_.LoadFile(Wide(file))) << decoder_.LastErrMsg();
  EXPECT_EQ(decoder_.StreamCount(), 2);
  EXPECT_EQ(decoder_.ProgramCount(), 0);
  EXPECT_EQ(decoder_.VideoStreamCount(), 1);
  EXPECT_EQ(decoder_.AudioStreamCount(), 1);
  EXPECT_EQ(decoder_.SubtitleStreamCount(), 0);
  EXPECT_EQ(decoder_.FirstVideoStream(), 0);
  EXPECT_EQ(decoder_.FirstAudioStream(), 1);
  EXPECT_EQ(decoder_.FirstSubtitleStream(), -1);
  EXPECT_EQ(decoder_.FileSize(), static_cast<std::int64_t>(std::filesystem::file_size(file)));
  EXPECT_TRUE(decoder_.IsVideoStream(0));
  EXPECT_TRUE(decoder_.IsAudioStream(1));
  EXPECT_FALSE(decoder_.IsAudioStream(0));
  EXPECT_TRUE(decoder_.OwnsFormatContext());

  decoder_.CloseFile();
  EXPECT_EQ(decoder_.FormatContext(), nullptr);
  EXPECT_EQ(decoder_.StreamCount(), -1);
  EXPECT_EQ(decoder_.FileSize(), -1);
}

TEST_F(DecoderTest, AnIndexOutsideTheStreamsIsReported) {
  const auto file = MakeMedia(folder_ / "clip.mp4");
  ASSERT_TRUE(decoder_.LoadFile(Wide(file)));
  EXPECT_FALSE(decoder_.IsVideoStream(1));
  EXPECT_EQ(decoder_.LastErrMsg(), "stream index #1 is invalid.");
  EXPECT_FALSE(decoder_.IsVideoStream(-1));
  EXPECT_EQ(decoder_.LastErrMsg(), "stream index #-1 is invalid.");
}

TEST_F(DecoderTest, AMissingFileGivesItsNameAndTheSystemsMessage) {
  const auto missing = folder_ / "missing.mp4";
  EXPECT_FALSE(decoder_.LoadFile(Wide(missing)));
  EXPECT_EQ(decoder_.LastErrMsg(), missing.string() + ": No such file or directory");
  EXPECT_EQ(decoder_.StreamCount(), -1);
  EXPECT_EQ(decoder_.FileInfoText(), "");
}

TEST_F(DecoderTest, BadInputFailsCleanly) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"empty.mp4", ""},
      {"random.mp4", std::string("\x13\x57\x9b\xdf\x02\x46\x8a\xce", 8) + std::string(4096, '\x5a')},
  };
  for (const auto& [name, bytes] : cases) {
    const auto file = folder_.WriteFile(name, bytes);
    EXPECT_FALSE(decoder_.LoadFile(Wide(file))) << name;
    EXPECT_EQ(decoder_.LastErrMsg(), file.string() + ": Invalid data found when processing input") << name;
    EXPECT_EQ(decoder_.FormatContext(), nullptr);
  }
  EXPECT_FALSE(decoder_.LoadFile(Wide(folder_.path())));
  EXPECT_EQ(decoder_.FormatContext(), nullptr);
}

TEST_F(DecoderTest, ATruncatedFileOpensOrFailsButNeverHangsOrCrashes) {
  const auto whole = MakeMedia(folder_ / "whole.mp4", VideoAndAudio());
  const std::string bytes = ReadWholeFile(whole);
  const auto cut = folder_.WriteFile("cut.mp4", bytes.substr(0, bytes.size() / 2));
  if (decoder_.LoadFile(Wide(cut))) {
    EXPECT_FALSE(decoder_.FileInfoText().empty());
  } else {
    EXPECT_FALSE(decoder_.LastErrMsg().empty());
  }
}

TEST_F(DecoderTest, AnUnknownForcedFormatIsRefused) {
  const auto file = MakeMedia(folder_ / "clip.mp4");
  EXPECT_FALSE(decoder_.LoadFile(Wide(file), "no-such-format"));
  EXPECT_EQ(decoder_.LastErrMsg(), "Unknown input format: no-such-format");
  EXPECT_EQ(decoder_.FormatContext(), nullptr);
  ASSERT_TRUE(decoder_.LoadFile(Wide(file), "mov"));
  EXPECT_EQ(decoder_.InputFormatName(), "mov");
}

TEST_F(DecoderTest, ASuccessKeepsThePreviousFailureText) {
  EXPECT_FALSE(decoder_.LoadFile(Wide(folder_ / "missing.mp4")));
  const std::string failure = decoder_.LastErrMsg();
  ASSERT_TRUE(decoder_.LoadFile(Wide(MakeMedia(folder_ / "clip.mp4"))));
  EXPECT_EQ(decoder_.LastErrMsg(), failure);
}

TEST_F(DecoderTest, ANameTooLongForTheNameBufferFailsWithAClearMessage) {
  MORVANE_NEEDS(Missing(TNeed::PosixPathLimits));
  std::u16string name = Wide(folder_.path()) + u"/" + std::u16string(3000, u'a') + u".mp4";
  EXPECT_FALSE(decoder_.LoadFile(name));
  EXPECT_NE(decoder_.LastErrMsg().find(": File name too long"), std::string::npos) << decoder_.LastErrMsg();
}

TEST_F(DecoderTest, OpeningASecondFileClosesTheFirst) {
  ASSERT_TRUE(decoder_.LoadFile(Wide(MakeMedia(folder_ / "a.mp4", VideoAndAudio()))));
  ASSERT_EQ(decoder_.StreamCount(), 2);
  ASSERT_TRUE(decoder_.LoadFile(Wide(MakeMedia(folder_ / "b.m4a", AudioOnly()))));
  EXPECT_EQ(decoder_.StreamCount(), 1);
  EXPECT_EQ(decoder_.FirstVideoStream(), -1);
}

TEST_F(DecoderTest, TheEventBeforeTheProbeSeesTheOpenContext) {
  const auto file = MakeMedia(folder_ / "clip.mkv");
  int calls = 0;
  decoder_.OnBeforeFindStreamInfo = [&](const void* sender, AVFormatContext* context) {
    ++calls;
    EXPECT_EQ(sender, &decoder_);
    ASSERT_NE(context, nullptr);
    EXPECT_STREQ(context->iformat->name, "matroska,webm");
  };
  ASSERT_TRUE(decoder_.LoadFile(Wide(file)));
  EXPECT_EQ(calls, 1);
}

TEST_F(DecoderTest, AnAdoptedContextIsUsedButNeverClosed) {
  const auto file = MakeMedia(folder_ / "clip.mp4");
  AVFormatContext* raw = nullptr;
  ASSERT_EQ(ff::avformat.avformat_open_input(&raw, file.string().c_str(), nullptr, nullptr), 0);
  ff::InputContextPtr elsewhere(raw);
  ASSERT_GE(ff::avformat.avformat_find_stream_info(raw, nullptr), 0);
  decoder_.AttachFormatContext(raw);
  EXPECT_EQ(decoder_.StreamCount(), 1);
  EXPECT_FALSE(decoder_.OwnsFormatContext());
  EXPECT_NE(decoder_.FileInfoText().find("Format Name: mov,mp4,m4a,3gp,3g2,mj2"), std::string::npos);
  decoder_.CloseFile();  // forgets the context; `elsewhere` closes it (a double close would show under ASan)
  EXPECT_EQ(decoder_.FormatContext(), nullptr);
}

TEST_F(DecoderTest, OperationsNeedTheLibraries) {
  FFLoader().UnloadLibs(DecoderLibraries);
  EXPECT_FALSE(decoder_.LibrariesLoaded());
  EXPECT_THROW(decoder_.LoadFile(u"/nowhere.mp4"), EFFError);
  EXPECT_TRUE(decoder_.LoadLibraries({}));
  EXPECT_TRUE(decoder_.LibrariesLoaded());
}

TEST_F(DecoderTest, TheInterruptCheckEnforcesTheTimeLimit) {
  LogCapture log;
  decoder_.IOTimeout = 30000;
  decoder_.IOStartTime = ff::avutil.av_gettime();
  EXPECT_EQ(ProbeDecoder::InterruptCallback(&decoder_), 0);

  decoder_.IOStartTime = ff::avutil.av_gettime() - 31'000'000;
  EXPECT_EQ(ProbeDecoder::InterruptCallback(&decoder_), 1);
  decoder_.IOStartTime = 0;
  EXPECT_EQ(ProbeDecoder::InterruptCallback(&decoder_), 1);
  ASSERT_EQ(log.messages().size(), 2u);
  EXPECT_EQ(log.messages()[0].message, "connecting/reading timeout");
  EXPECT_EQ(log.messages()[1].message, "connecting/reading canceled");
  EXPECT_EQ(log.messages()[1].level, llInfo);

  decoder_.IOStartTime = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(ProbeDecoder::InterruptCallback(&decoder_), 0);
  decoder_.IOStartTime = 0;
  decoder_.IOTimeout = 0;
  EXPECT_EQ(ProbeDecoder::InterruptCallback(&decoder_), 0);
}

// A stop (a signal handler sets the flag) ends the libraries' blocking calls at once,
// whatever the time limit says, and says so as the libraries' own exit.
TEST_F(DecoderTest, AStopEndsTheOpenAndProbeAtOnce) {
  ASSERT_TRUE(decoder_.LoadLibraries({}));
  const auto file = MakeMedia(folder_ / "clip.mp4");
  std::atomic<bool> stop{true};
  decoder_.StopFlag = &stop;
  decoder_.IOStartTime = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(ProbeDecoder::InterruptCallback(&decoder_), 1);
  EXPECT_FALSE(decoder_.LoadFile(Wide(file)));
  EXPECT_EQ(decoder_.LastErrMsg(), file.string() + ": Immediate exit requested");
  EXPECT_EQ(decoder_.StreamCount(), -1);

  stop = false;
  EXPECT_TRUE(decoder_.LoadFile(Wide(file))) << decoder_.LastErrMsg();
}

}  // namespace
