#include <gtest/gtest.h>

#include <cstdint>

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "FFUtils/FFOptions.h"
#include "support/TestEnvironment.h"

namespace {

std::int64_t ScalerOption(SwsContext* context, const char* name) {
  std::int64_t value = -1;
  EXPECT_GE(ff::avutil.av_opt_get_int(context, name, 0, &value), 0) << name;
  return value;
}

void AddEntry(AVDictionary*& dictionary, const char* key) { ff::avutil.av_dict_set(&dictionary, key, "1", 0); }

TEST(FFOptionsTest, ClearingNeedsNoLibrary) {
  if (FFLoader().LibsLoaded(DecoderLibraries)) FFLoader().UnloadLibs(DecoderLibraries);
  ASSERT_EQ(ff::avutil.av_dict_free, nullptr);
  ASSERT_EQ(ff::swscale.sws_freeContext, nullptr);

  TFFOptions options;
  EXPECT_EQ(options.SwsFlags, 4);
  options.ClearOptions();
  EXPECT_EQ(options.SwsOptions, nullptr);
  EXPECT_EQ(options.FormatOptions, nullptr);
  EXPECT_EQ(options.CodecOptions, nullptr);
}

TEST(FFOptionsTest, InitMakesAScalerContextWithTheFlags) {
  RequireMediaLibraries();
  TFFOptions options;
  options.InitOptions();
  ASSERT_NE(options.SwsOptions, nullptr);
  EXPECT_EQ(ScalerOption(options.SwsOptions, "sws_flags"), SWS_BICUBIC);
  EXPECT_EQ(ScalerOption(options.SwsOptions, "srcw"), 16);
  EXPECT_EQ(ScalerOption(options.SwsOptions, "dsth"), 16);
  EXPECT_EQ(ScalerOption(options.SwsOptions, "src_format"), AV_PIX_FMT_YUV420P);
  EXPECT_EQ(ScalerOption(options.SwsOptions, "dst_format"), AV_PIX_FMT_YUV420P);

  // A second InitOptions replaces the context (the leak checker sees the first one go).
  options.SwsFlags = SWS_BILINEAR | SWS_ACCURATE_RND;
  options.InitOptions();
  ASSERT_NE(options.SwsOptions, nullptr);
  EXPECT_EQ(ScalerOption(options.SwsOptions, "sws_flags"), SWS_BILINEAR | SWS_ACCURATE_RND);
}

TEST(FFOptionsTest, EveryOpenStartsWithEmptyDictionaries) {
  RequireMediaLibraries();
  TFFOptions options;
  options.InitOptions();
  AddEntry(options.SwrOptions, "a");
  AddEntry(options.FormatOptions, "probesize");
  AddEntry(options.CodecOptions, "threads");
  AddEntry(options.ResampleOptions, "b");
  options.InitOptions();
  EXPECT_EQ(options.SwrOptions, nullptr);
  EXPECT_EQ(options.FormatOptions, nullptr);
  EXPECT_EQ(options.CodecOptions, nullptr);
  EXPECT_EQ(options.ResampleOptions, nullptr);
  EXPECT_NE(options.SwsOptions, nullptr);
  AddEntry(options.CodecOptions, "threads");
  // The destructor frees what is left.
}

TEST(FFOptionsTest, ClearingFreesWhatTheBoundLibrariesCanFree) {
  RequireMediaLibraries();
  TFFOptions options;
  AddEntry(options.FormatOptions, "probesize");

  // Without the scaler library the dictionaries still go.
  FFLoader().UnloadLib(liSwScale);
  options.ClearOptions();
  EXPECT_EQ(options.FormatOptions, nullptr);
  ASSERT_TRUE(FFLoader().LoadLib(liSwScale)) << FFLoader().LastErrMsg();

  // Without avutil the scaler context goes and the dictionary waits for avutil.
  options.InitOptions();
  AddEntry(options.CodecOptions, "threads");
  AVDictionary* kept = options.CodecOptions;
  FFLoader().UnloadLib(liAVUtil);
  options.ClearOptions();
  EXPECT_EQ(options.SwsOptions, nullptr);
  EXPECT_EQ(options.CodecOptions, kept);
  ASSERT_TRUE(FFLoader().LoadLib(liAVUtil)) << FFLoader().LastErrMsg();
  options.ClearOptions();
  EXPECT_EQ(options.CodecOptions, nullptr);
}

}  // namespace
