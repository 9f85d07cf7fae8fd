#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "FFLoad/EntryPoints.h"
#include "FFLog/FFLog.h"
#include "FFUtils/FFOwners.h"
#include "FFUtils/FFUtils.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestNeeds.h"

namespace {

using Entries = std::map<std::string, std::string>;

ff::DictionaryPtr MakeDictionary(const std::vector<std::pair<std::string, std::string>>& entries) {
  AVDictionary* dictionary = nullptr;
  for (const auto& [key, value] : entries) ff::avutil.av_dict_set(&dictionary, key.c_str(), value.c_str(), 0);
  return ff::DictionaryPtr(dictionary);
}

Entries ToMap(const AVDictionary* dictionary) {
  Entries entries;
  const AVDictionaryEntry* entry = nullptr;
  while ((entry = ff::avutil.av_dict_get(dictionary, "", entry, AV_DICT_IGNORE_SUFFIX))) entries[entry->key] = entry->value;
  return entries;
}

// One clip with an H.264 video, an AAC audio and a SubRip subtitle stream, made once per
// test program and opened afresh for each test.
class CodecOptionsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder;
    const auto subtitles = folder_->WriteFile("clip.srt", "1\n00:00:00,000 --> 00:00:00,500\nHello\n\n");
    MediaSpec spec;
    spec.audio = true;
    spec.extra = {"-i", subtitles.string(), "-map", "0:v", "-map", "1:a", "-map", "2:s", "-c:v", "libx264",
                  "-c:a", "aac", "-c:s", "srt", "-metadata", "title=Morvane clip"};
    clip_ = MakeMedia(*folder_ / "clip.mkv", spec).string();
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }

  void SetUp() override {
    RequireMediaLibraries();
    AVFormatContext* context = nullptr;
    ASSERT_EQ(ff::avformat.avformat_open_input(&context, clip_.c_str(), nullptr, nullptr), 0);
    input_.reset(context);
    ASSERT_EQ(input_->nb_streams, 3u);
    for (unsigned i = 0; i < input_->nb_streams; ++i) byType_[input_->streams[i]->codecpar->codec_type] = input_->streams[i];
    ASSERT_EQ(byType_.size(), 3u);
  }

  AVStream* Stream(AVMediaType type) { return byType_.at(type); }
  Entries Filter(const AVDictionary* options, AVMediaType type, const AVCodec* codec = nullptr) {
    AVStream* stream = Stream(type);
    ff::DictionaryPtr result(FilterCodecOptions(const_cast<AVDictionary*>(options), stream->codecpar->codec_id,
                                                input_.get(), stream, codec));
    if (result) {
      EXPECT_GT(ff::avutil.av_dict_count(result.get()), 0) << "an empty result must be none";
    }
    return ToMap(result.get());
  }

  static TempFolder* folder_;
  static std::string clip_;
  ff::InputContextPtr input_;
  std::map<AVMediaType, AVStream*> byType_;
};

TempFolder* CodecOptionsTest::folder_ = nullptr;
std::string CodecOptionsTest::clip_;

TEST_F(CodecOptionsTest, StreamSpecifierIsPassedThrough) {
  AVStream* video = Stream(AVMEDIA_TYPE_VIDEO);
  EXPECT_EQ(MatchStreamSpecifier(input_.get(), video, "v"), 1);
  EXPECT_EQ(MatchStreamSpecifier(input_.get(), video, "a"), 0);
  EXPECT_EQ(MatchStreamSpecifier(input_.get(), video, std::to_string(video->index).c_str()), 1);
  EXPECT_LT(MatchStreamSpecifier(input_.get(), video, "x"), 0);
}

TEST_F(CodecOptionsTest, ContainerMetadataOfARealFile) {
  EXPECT_EQ(GetMetadataValue(input_->metadata, "TITLE", "-"), "Morvane clip");
  EXPECT_EQ(GetMetadataValue(input_->metadata, "creation_time", "-"), "-");
}

// An option dictionary of one entry and what each stream of the clip keeps of it ("" for none).
struct FilterCase {
  std::string key;
  std::string video;
  std::string audio;
  std::string subtitle;
};

void PrintTo(const FilterCase& c, std::ostream* out) {
  *out << '"' << c.key << "\" -> video \"" << c.video << "\", audio \"" << c.audio << "\", subtitle \"" << c.subtitle << '"';
}

class FilterPerStream : public CodecOptionsTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterPerStream, KeepsWhatTheStreamsDecoderKnows) {
  ff::DictionaryPtr options = MakeDictionary({{GetParam().key, "1"}});
  auto expect = [](const std::string& name) { return name.empty() ? Entries{} : Entries{{name, "1"}}; };
  EXPECT_EQ(Filter(options.get(), AVMEDIA_TYPE_VIDEO), expect(GetParam().video));
  EXPECT_EQ(Filter(options.get(), AVMEDIA_TYPE_AUDIO), expect(GetParam().audio));
  EXPECT_EQ(Filter(options.get(), AVMEDIA_TYPE_SUBTITLE), expect(GetParam().subtitle));

  // The probe's per-stream options are the same filtering, stream by stream.
  ff::StreamOptions perStream(SetupFindStreamInfoOptions(input_.get(), options.get()), input_->nb_streams);
  ASSERT_NE(perStream.get(), nullptr);
  for (unsigned i = 0; i < input_->nb_streams; ++i)
    EXPECT_EQ(ToMap(perStream.get()[i]), Filter(options.get(), input_->streams[i]->codecpar->codec_type)) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Options, FilterPerStream,
    ::testing::Values(FilterCase{"threads", "threads", "threads", ""}, FilterCase{"flags", "flags", "flags", "flags"},
                      FilterCase{"threads:v", "threads", "", ""}, FilterCase{"threads:a:0", "", "threads", ""},
                      FilterCase{"flags:s", "", "", "flags"}, FilterCase{"sub_charenc", "", "", "sub_charenc"},
                      FilterCase{"skip_frame", "skip_frame", "", ""},
                      // Encoding-only options stay out of a decoding context.
                      FilterCase{"b", "", "", ""}, FilterCase{"nosuchoption", "", "", ""},
                      // The media type letter in front of a generic option name is dropped.
                      FilterCase{"vthreads", "threads", "", ""}, FilterCase{"athreads", "", "threads", ""},
                      FilterCase{"athreads:a", "", "threads", ""},
                      // Options private to the stream's decoder.
                      FilterCase{"enable_er", "enable_er", "", ""},
                      FilterCase{"dual_mono_mode", "", "dual_mono_mode", ""}),
    [](const auto& info) {
      std::string name = info.param.key;
      for (char& c : name)
        if (c == ':') c = '_';
      return name;
    });

TEST_F(CodecOptionsTest, SeveralEntriesAreFilteredTogether) {
  ff::DictionaryPtr options =
      MakeDictionary({{"threads:v", "2"}, {"threads:a", "3"}, {"lowres", "1"}, {"b", "1000"}, {"sub_charenc", "CP949"}});
  EXPECT_EQ(Filter(options.get(), AVMEDIA_TYPE_VIDEO), (Entries{{"threads", "2"}, {"lowres", "1"}}));
  EXPECT_EQ(Filter(options.get(), AVMEDIA_TYPE_AUDIO), (Entries{{"threads", "3"}, {"lowres", "1"}}));
  EXPECT_EQ(Filter(options.get(), AVMEDIA_TYPE_SUBTITLE), (Entries{{"sub_charenc", "CP949"}}));
  EXPECT_EQ(Filter(nullptr, AVMEDIA_TYPE_VIDEO), Entries{});
}

TEST_F(CodecOptionsTest, InvalidStreamSpecifierDropsEverything) {
  ff::DictionaryPtr options = MakeDictionary({{"threads", "2"}, {"lowres:x", "1"}});
  for (AVMediaType type : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_SUBTITLE})
    EXPECT_EQ(Filter(options.get(), type), Entries{}) << type;
}

TEST_F(CodecOptionsTest, GivenCodecReplacesTheLookup) {
  ff::DictionaryPtr options = MakeDictionary({{"enable_er", "1"}, {"threads", "2"}});
  EXPECT_EQ(Filter(options.get(), AVMEDIA_TYPE_VIDEO, ff::avcodec.avcodec_find_decoder_by_name("h264")),
            (Entries{{"enable_er", "1"}, {"threads", "2"}}));
  EXPECT_EQ(Filter(options.get(), AVMEDIA_TYPE_VIDEO, ff::avcodec.avcodec_find_decoder_by_name("mpeg4")),
            (Entries{{"threads", "2"}}));
}

TEST_F(CodecOptionsTest, OutputContextTakesEncodingOptions) {
  MORVANE_NEEDS(MissingMuxer("matroska"));
  MORVANE_NEEDS(MissingEncoder("libx264"));
  AVFormatContext* raw = nullptr;
  ASSERT_GE(ff::avformat.avformat_alloc_output_context2(&raw, nullptr, "matroska", nullptr), 0);
  ff::FormatContextPtr output(raw);
  AVStream* stream = ff::avformat.avformat_new_stream(output.get(), nullptr);
  ASSERT_NE(stream, nullptr);
  stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
  ff::DictionaryPtr options = MakeDictionary({{"b", "1000"}, {"skip_frame", "all"}, {"preset", "fast"}, {"vb", "5"}});
  ff::DictionaryPtr result(FilterCodecOptions(options.get(), AV_CODEC_ID_H264, output.get(), stream, nullptr));
  EXPECT_EQ(ToMap(result.get()), (Entries{{"b", "5"}, {"preset", "fast"}}));
}

TEST_F(CodecOptionsTest, ContextWithoutStreamsHasNoStreamOptions) {
  ff::FormatContextPtr empty(ff::avformat.avformat_alloc_context());
  ASSERT_TRUE(empty);
  ff::DictionaryPtr options = MakeDictionary({{"threads", "2"}});
  EXPECT_EQ(SetupFindStreamInfoOptions(empty.get(), options.get()), nullptr);
}

TEST_F(CodecOptionsTest, FailedAllocationIsReportedThroughTheLibraryLog) {
  std::vector<std::string> messages;
  TFFLogger logger;
  logger.SetOnLog([&](const void*, std::uint32_t, TLogLevel level, const std::string& message) {
    if (level == llError) messages.push_back(message);
  });
  ff::DictionaryPtr options = MakeDictionary({{"threads", "2"}});

  ff::avutil.av_max_alloc(1);
  AVDictionary** perStream = SetupFindStreamInfoOptions(input_.get(), options.get());
  ff::avutil.av_max_alloc(INT_MAX);
  ff::StreamOptions owner(perStream, input_->nb_streams);

  EXPECT_EQ(perStream, nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Could not alloc memory for stream options."), std::string::npos) << messages[0];
}

}  // namespace
