// The entry-point tables as the real libraries of this machine fill them.
#include <gtest/gtest.h>

#include <cstdarg>

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"

namespace {

// Formats through the bound vsnprintf, the entry the library log relay formats with.
int FormatThroughLibrary(char* buffer, std::size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = ff::msvcrt.vsnprintf(buffer, size, format, arguments);
  va_end(arguments);
  return length;
}

class EntryPointsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FFLoader().SetLibraryPath({});
    ASSERT_TRUE(FFLoader().LoadLibs(DecoderLibraries)) << FFLoader().LastErrMsg();
  }
};

TEST_F(EntryPointsTest, SuccessorsOfRetiredEntriesAreBound) {
  EXPECT_NE(ff::avcodec.avcodec_send_packet, nullptr);
  EXPECT_NE(ff::avcodec.avcodec_receive_frame, nullptr);
  EXPECT_NE(ff::avcodec.av_packet_alloc, nullptr);
  EXPECT_NE(ff::avcodec.av_packet_unref, nullptr);
  EXPECT_NE(ff::avcodec.avcodec_parameters_to_context, nullptr);
  EXPECT_NE(ff::avformat.avio_feof, nullptr);
  EXPECT_NE(ff::avutil.av_opt_get_int, nullptr);
  EXPECT_NE(ff::avutil.av_image_get_buffer_size, nullptr);
#ifndef _WIN32
  // Windows' C run-time has no snprintf of this form; vsnprintf stands for both there.
  EXPECT_NE(ff::msvcrt.snprintf, nullptr);
#endif
  EXPECT_NE(ff::msvcrt.vsnprintf, nullptr);
}

TEST_F(EntryPointsTest, OptionalEntriesThatTodaysLibrariesLackStayEmpty) {
  EXPECT_EQ(ff::avformat.ff_guess_image2_codec, nullptr);
  EXPECT_EQ(ff::avformat.ffurl_protocol_next, nullptr);
  EXPECT_EQ(ff::avformat.ffurl_register_protocol, nullptr);
  EXPECT_EQ(ff::avformat.av_register_all, nullptr);
  EXPECT_EQ(ff::avcodec.avcodec_register_all, nullptr);
  EXPECT_EQ(ff::avcodec.av_lockmgr_register, nullptr);
}

TEST_F(EntryPointsTest, BoundEntriesCallIntoTheLibraries) {
  char buffer[16];
#ifndef _WIN32
  EXPECT_EQ(ff::msvcrt.snprintf(buffer, sizeof buffer, "%d-%s", 7, "x"), 3);
  EXPECT_STREQ(buffer, "7-x");
#endif
  EXPECT_EQ(FormatThroughLibrary(buffer, sizeof buffer, "%s+%d", "y", 12), 4);
  EXPECT_STREQ(buffer, "y+12");
  EXPECT_EQ(ff::avutil.av_gcd(12, 18), 6);
  EXPECT_STREQ(ff::msvcrt.strrchr("a.b.c", '.'), ".c");
}

TEST_F(EntryPointsTest, UnloadingEmptiesEverySlotAndLoadingFillsThemAgain) {
  FFLoader().UnloadLibs(DecoderLibraries);
  EXPECT_EQ(ff::avformat.avformat_open_input, nullptr);
  EXPECT_EQ(ff::avutil.av_dict_get, nullptr);
  EXPECT_EQ(ff::swscale.sws_getContext, nullptr);
  EXPECT_EQ(ff::msvcrt.strrchr, nullptr);
  ASSERT_TRUE(FFLoader().LoadLibs(DecoderLibraries));
  EXPECT_NE(ff::avformat.avformat_open_input, nullptr);
  EXPECT_NE(ff::avutil.av_dict_get, nullptr);
}

}  // namespace
