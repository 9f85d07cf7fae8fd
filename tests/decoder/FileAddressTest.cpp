// Every name the decoder opens is a file: names that look like the libraries' addresses
// ("pipe:0", "concat:...", "data:...") open the file of that name, and an address opens
// as one only when the caller asked for it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class FileAddressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RequireMediaLibraries();
    fs::current_path(folder_.path());
  }
  void TearDown() override { fs::current_path(saved_); }

  // A clip in the test folder whose creation time is `stamp`, under the given name.
  void MakeClip(const std::string& name, const std::string& stamp) {
    MediaSpec spec = AudioOnly();
    spec.metadata = {"creation_time=" + stamp};
    spec.extra = {"-f", "flac"};
    MakeMedia(folder_ / "made.flac", spec);
    fs::rename(folder_ / "made.flac", folder_ / name);
  }

  fs::path saved_ = fs::current_path();
  TempFolder folder_;
  TFFDecoder decoder_;
};

TEST_F(FileAddressTest, NamesThatLookLikeAddressesOpenTheFileOfThatName) {
  MakeClip("plain.flac", "2001-01-01");
  const char* const names[] = {"10:20.flac", "data:,y.flac", "concat:plain.flac", "pipe:0", "file:x.flac",
                               "subfile:a.flac"};
  for (const char* name : names) {
    MakeClip(name, std::string("stamp of ") + name);
    ASSERT_TRUE(decoder_.LoadFile(Wide(name))) << name << ": " << decoder_.LastErrMsg();
    EXPECT_THAT(decoder_.FileInfoText(), HasSubstr(std::string("creation_time   : stamp of ") + name)) << name;
    decoder_.CloseFile();
  }
}

TEST_F(FileAddressTest, AnAddressOpensOnlyWhenTheCallerAsksForOne) {
  MakeClip("plain.flac", "2001-01-01");
  const std::u16string address = u"concat:" + Wide(folder_ / "plain.flac");
  EXPECT_FALSE(decoder_.LoadFile(address)) << "no file has that name";
  decoder_.AllowAddresses = true;
  ASSERT_TRUE(decoder_.LoadFile(address)) << decoder_.LastErrMsg();
  EXPECT_THAT(decoder_.FileInfoText(), HasSubstr("creation_time   : 2001-01-01"));
}

}  // namespace
