// The owners of library objects leave an object alone once its library is gone (freeing
// through the bound entry points is exercised, under the sanitizers, by every suite that
// opens media).
#include <gtest/gtest.h>

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "FFUtils/FFOwners.h"
#include "support/TestEnvironment.h"

namespace {

TEST(LibraryOwners, AnUnboundEntryPointIsSkipped) {
  FFLoader().UnloadLibs(AllLibraries);
  ASSERT_EQ(ff::avutil.av_dict_free, nullptr);
  ASSERT_EQ(ff::avformat.avformat_close_input, nullptr);
  // Stand-ins that no library made: freeing them through anything would crash.
  int dictionary = 0;
  int context = 0;
  ff::DictionaryPtr::deleter_type{}(reinterpret_cast<AVDictionary*>(&dictionary));
  ff::InputContextPtr::deleter_type{}(reinterpret_cast<AVFormatContext*>(&context));
  EXPECT_EQ(dictionary, 0);
  EXPECT_EQ(context, 0);
}

}  // namespace
