// Names mapped for the container open reach the file through the libraries' own file
// protocol, and the name the libraries keep maps back to the same UTF-16 name.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "FFLoad/EntryPoints.h"
#include "FFUtils/FFOwners.h"
#include "UnicodeProtocol/UnicodeProtocol.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"

namespace {

struct MediaCase {
  const char* fileName;  // UTF-8
  std::vector<std::string> extra;
};

void PrintTo(const MediaCase& media, std::ostream* out) { *out << '"' << media.fileName << '"'; }

class LibraryNameRoundTripTest : public ::testing::TestWithParam<MediaCase> {};

TEST_P(LibraryNameRoundTripTest, LibrariesOpenTheMappedNameAndKeepItMappable) {
  RequireMediaLibraries();
  TempFolder folder;
  MediaSpec spec;
  spec.extra = GetParam().extra;
  const std::u16string name = Wide(MakeMedia(folder / GetParam().fileName, spec));

  const char* mapped = MapFileNameForOpen(name);
  ASSERT_NE(mapped, nullptr);
  AVFormatContext* raw = nullptr;
  const int result = ff::avformat.avformat_open_input(&raw, mapped, nullptr, nullptr);
  ASSERT_EQ(result, 0) << "open of " << mapped << " failed: " << result;
  const ff::InputContextPtr context(raw);
  ASSERT_NE(context->url, nullptr);
  EXPECT_EQ(MapFileNameFromContext(context->url), name);
}

const std::vector<std::string> kOneStill = {"-frames:v", "1", "-update", "1"};

INSTANTIATE_TEST_SUITE_P(Media, LibraryNameRoundTripTest,
                         ::testing::Values(MediaCase{"clip.mp4", {}},
                                           MediaCase{"clip \xC3\xA4\xF0\x9F\x98\x80.mkv", {}},
                                           MediaCase{"clip \xED\x95\x9C.mov", {}},
                                           MediaCase{"still \xC3\xA4.png", kOneStill},
                                           MediaCase{"still \xF0\x9F\x98\x80.JPG", kOneStill},
                                           MediaCase{"still.bmp", kOneStill}));

TEST(LibraryNameRoundTrip, MissingFileIsReportedByTheLibraries) {
  RequireMediaLibraries();
  TempFolder folder;
  const char* mapped = MapFileNameForOpen(Wide(folder / "missing \xC3\xA4.mp4"));
  ASSERT_NE(mapped, nullptr);
  AVFormatContext* raw = nullptr;
  EXPECT_EQ(ff::avformat.avformat_open_input(&raw, mapped, nullptr, nullptr), AVERROR(ENOENT));
  EXPECT_EQ(raw, nullptr);  // the libraries free the context of a failed open
}

}  // namespace
