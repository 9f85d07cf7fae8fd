// Registration of the protocol with the libraries the system loads. Today's avformat no longer
// exports its protocol list, so the protocol stays unregistered and still-image names travel
// in the code page.
#include <gtest/gtest.h>

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "UnicodeProtocol/ProtocolRegistration.h"
#include "UnicodeProtocol/UnicodeFileProtocol.h"
#include "UnicodeProtocol/UnicodeProtocol.h"
#include "support/TestEnvironment.h"
#include "unicode/RegisteredFlag.h"

namespace {

TEST(ProtocolRegistration, WithoutLibrariesNothingIsRegistered) {
  FFLoader().UnloadLibs(AllLibraries);
  RegisteredFlag flag(true);
  EXPECT_FALSE(RegisterProtocol(&UnicodeFileProtocol()));
  RegisterUnicodeProtocol();
  EXPECT_FALSE(UnicodeProtocolRegistered);
}

TEST(ProtocolRegistration, LoadingAVFormatLeavesTheProtocolUnregistered) {
  FFLoader().UnloadLibs(AllLibraries);
  RegisteredFlag flag(true);  // a stale value that the loader's follow-up step must replace
  RequireMediaLibraries();
  ASSERT_TRUE(FFLoader().IsLoaded(liAVFormat));
  EXPECT_EQ(ff::avformat.ffurl_protocol_next, nullptr);
  EXPECT_EQ(ff::avformat.ffurl_register_protocol, nullptr);
  EXPECT_FALSE(UnicodeProtocolRegistered);

  EXPECT_FALSE(RegisterProtocol(&UnicodeFileProtocol()));
  EXPECT_EQ(UnicodeFileProtocol().next, nullptr);  // never linked into a list
}

TEST(ProtocolRegistration, UnregisteredProtocolLeavesImageNamesInTheCodePage) {
  RequireMediaLibraries();
  ASSERT_FALSE(UnicodeProtocolRegistered);
  const std::u16string name = u"/v/a" + std::u16string(1, char16_t{0xD800}) + u".jpg";
  ASSERT_TRUE(NeedsUnicodeProtocol(name));
  const char* mapped = MapFileNameForOpen(name);
  ASSERT_NE(mapped, nullptr);
  EXPECT_STREQ(mapped, "/v/a?.jpg");
}

}  // namespace
