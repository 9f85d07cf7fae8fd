#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "FFUtils/FFOwners.h"
#include "FFUtils/FFUtils.h"
#include "support/TestEnvironment.h"
#include "support/TestNeeds.h"

namespace {

struct DurationCase {
  std::int64_t microseconds;
  const char* text;
};

void PrintTo(const DurationCase& c, std::ostream* out) { *out << c.microseconds << " -> " << c.text; }

class DurationText : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationText, FiveMillisecondsAdded) { EXPECT_EQ(DurationToStr(GetParam().microseconds), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Durations, DurationText,
    ::testing::Values(DurationCase{AV_NOPTS_VALUE, "N/A"}, DurationCase{0, "00:00:00.005"},
                      DurationCase{1234567, "00:00:01.239"}, DurationCase{994999, "00:00:00.999"},
                      DurationCase{995000, "00:00:01.000"}, DurationCase{3600000000, "01:00:00.005"},
                      DurationCase{359999995000, "100:00:00.000"}, DurationCase{-5000, "00:00:00.000"},
                      DurationCase{-6000, "00:00:00.-001"}, DurationCase{-1000000, "00:00:00.-995"},
                      // Whole seconds are taken as a 32-bit number, and the sum wraps at the top.
                      DurationCase{2147483648000000, "-596523:-14:-08.005"},
                      DurationCase{INT64_MAX, "-577014:-32:-22.-770"}));

TEST(TimestampTextTest, MicrosecondBaseNeedsNoLibrary) {
  if (FFLoader().LibsLoaded(DecoderLibraries)) FFLoader().UnloadLibs(DecoderLibraries);
  ASSERT_EQ(ff::avutil.av_rescale_q, nullptr);
  EXPECT_EQ(TimestampToStr(1234567, AVRational{1, 1000000}), "00:00:01.239");
  EXPECT_EQ(TimestampToStr(1234567, AVRational{2, 2000000}), "00:00:01.239");
  EXPECT_EQ(TimestampToStr(AV_NOPTS_VALUE, AVRational{1, 25}), "N/A");
}

TEST(TimestampTextTest, OtherBasesAreRescaledToNearest) {
  RequireMediaLibraries();
  EXPECT_EQ(TimestampToStr(25, AVRational{1, 25}), "00:00:01.005");
  EXPECT_EQ(TimestampToStr(90000 * 61, AVRational{1, 90000}), "00:01:01.005");
  EXPECT_EQ(TimestampToStr(1, AVRational{1, 3}), "00:00:00.338");
  EXPECT_EQ(TimestampToStr(2, AVRational{1, 3}), "00:00:00.671");
  EXPECT_EQ(TimestampToStr(-25, AVRational{1, 25}), "00:00:00.-995");
}

TEST(FrameDurationTest, FromRate) {
  EXPECT_EQ(FrameDurationFromRate(AVRational{30000, 1001}), 33366);
  EXPECT_EQ(FrameDurationFromRate(AVRational{24000, 1001}), 41708);
  EXPECT_EQ(FrameDurationFromRate(AVRational{25, 1}), 40000);
  EXPECT_EQ(FrameDurationFromRate(AVRational{1, 2147483647}), 2147483647000000);
  EXPECT_EQ(FrameDurationFromRate(AVRational{-50, 1}), -20000);
  EXPECT_EQ(FrameDurationFromRate(AVRational{0, 1}), 40000);
  EXPECT_EQ(FrameDurationFromRate(AVRational{25, 0}), 40000);
  EXPECT_EQ(FrameDurationFromRate(AVRational{0, 0}), 40000);
}

TEST(PictureTypeTest, Names) {
  const char* const expected[] = {"Unknown", "Intra", "Predicted", "Bi-dir predicted", "S(GMC)-VOP MPEG4",
                                  "Switching Intra", "Switching Predicted", "BI type", "Unknown"};
  for (int type = 0; type <= 8; ++type) EXPECT_EQ(PictureTypeToStr(type), expected[type]) << type;
  EXPECT_EQ(PictureTypeToStr(-1), "Unknown");
}

struct CodecNameCase {
  AVCodecID id;
  std::uint32_t tag;
  bool encoder;
  const char* text;
};

void PrintTo(const CodecNameCase& c, std::ostream* out) {
  *out << "codec " << c.id << ", tag 0x" << std::hex << c.tag << std::dec << (c.encoder ? ", encoder" : "") << " -> \""
       << c.text << '"';
}

class CodecNameText : public ::testing::TestWithParam<CodecNameCase> {};

TEST_P(CodecNameText, FromCodecOrTag) {
  RequireMediaLibraries();
  const std::string name(GetParam().text);
  // A real codec's encoder must be there to be named.
  if (GetParam().encoder && GetParam().id != AV_CODEC_ID_NONE)
    MORVANE_NEEDS(MissingEncoder(name.substr(0, name.find('(')).c_str()));
  ff::CodecContextPtr context(ff::avcodec.avcodec_alloc_context3(nullptr));
  ASSERT_TRUE(context);
  context->codec_id = GetParam().id;
  context->codec_tag = GetParam().tag;
  EXPECT_EQ(GetCodecNameText(context.get(), GetParam().encoder), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    RealCodecs, CodecNameText,
    ::testing::Values(CodecNameCase{AV_CODEC_ID_H264, 0, false, "h264(H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10)"},
                      CodecNameCase{AV_CODEC_ID_H264, 0, true,
                                    "libx264(libx264 H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10)"},
                      CodecNameCase{AV_CODEC_ID_AAC, MKTAG('m', 'p', '4', 'a'), false, "aac(AAC (Advanced Audio Coding))"},
                      CodecNameCase{AV_CODEC_ID_VORBIS, 0, true, "libvorbis(libvorbis)"},
                      CodecNameCase{AV_CODEC_ID_PCM_S16LE, 1, false, "pcm_s16le(PCM signed 16-bit little-endian)"}));

INSTANTIATE_TEST_SUITE_P(
    WithoutCodec, CodecNameText,
    ::testing::Values(CodecNameCase{AV_CODEC_ID_MPEG2TS, MKTAG('H', '2', '6', '4'), false, "mpeg2ts"},
                      CodecNameCase{AV_CODEC_ID_NONE, MKTAG('H', '2', '6', '4'), false, "H264 / 0x34363248"},
                      CodecNameCase{AV_CODEC_ID_NONE, MKTAG(' ', '~', 'x', 'y'), false, " ~xy / 0x79787E20"},
                      CodecNameCase{AV_CODEC_ID_NONE, 1, false, "0x   1"},
                      CodecNameCase{AV_CODEC_ID_NONE, 255, true, "0x  FF"},
                      CodecNameCase{AV_CODEC_ID_NONE, 0, false, "0x   0"},
                      CodecNameCase{AV_CODEC_ID_NONE, MKTAG('a', 'b', 'c', 0x7F), false, "0x7F636261"},
                      CodecNameCase{AV_CODEC_ID_NONE, MKTAG('a', 'b', 'c', 0x80), false, "0x80636261"},
                      CodecNameCase{AV_CODEC_ID_PROBE, 0xFFFFFFFF, false, "0xFFFFFFFF"}));

TEST(MetadataValueTest, WholeKeyWithoutRegardToCase) {
  RequireMediaLibraries();
  AVDictionary* raw = nullptr;
  ff::avutil.av_dict_set(&raw, "creation_time", "2021-05-04T10:11:12.000000Z", 0);
  ff::avutil.av_dict_set(&raw, "title", "", 0);
  ff::DictionaryPtr metadata(raw);

  EXPECT_EQ(GetMetadataValue(metadata.get(), "creation_time", "none"), "2021-05-04T10:11:12.000000Z");
  EXPECT_EQ(GetMetadataValue(metadata.get(), "CREATION_Time", "none"), "2021-05-04T10:11:12.000000Z");
  EXPECT_EQ(GetMetadataValue(metadata.get(), "creation", "none"), "none");
  EXPECT_EQ(GetMetadataValue(metadata.get(), "title", "none"), "");
  EXPECT_EQ(GetMetadataValue(nullptr, "title", "none"), "none");
}

}  // namespace
