// Still-image names are recognised by extension, without regard to letter case, both through
// the libraries' string functions and without them.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "UnicodeProtocol/UnicodeProtocol.h"
#include "support/TestEnvironment.h"

namespace {

struct GuessCase {
  const char* name;
  bool image;
};

void PrintTo(const GuessCase& guess, std::ostream* out) { *out << '"' << guess.name << '"'; }

class ImageCodecGuessTest : public ::testing::TestWithParam<std::tuple<GuessCase, bool>> {
 protected:
  void SetUp() override {
    if (std::get<1>(GetParam())) {
      RequireMediaLibraries();
      ASSERT_NE(ff::avutil.av_strcasecmp, nullptr);
    } else {
      FFLoader().UnloadLibs(AllLibraries);
      ASSERT_EQ(ff::avutil.av_strcasecmp, nullptr);
    }
  }
};

TEST_P(ImageCodecGuessTest, RecognisesStillImageExtensions) {
  const GuessCase& guess = std::get<0>(GetParam());
  if (guess.image)
    EXPECT_NE(GuessImageCodec(guess.name), 0) << guess.name;
  else
    EXPECT_EQ(GuessImageCodec(guess.name), 0) << guess.name;
}

const GuessCase kGuessCases[] = {
    {"a.jpeg", true},
    {"/v/a.JPG", true},
    {"C:\\v\\b.Png", true},
    {"c.mpg4-img", true},
    {"d.PGMYUV", true},
    {"e.xwd", true},                      // the last row
    {"f.XFace", true},
    {"g.y", true},
    {"/v/\xC3\xA4\xF0\x9F\x98\x80.tif", true},
    {"archive.gz.jpg", true},             // only the last extension counts
    {"movie.mp4", false},
    {"movie.MKV", false},
    {"a.jpe", false},
    {"a.jpgx", false},
    {"a.xjpg", false},
    {"noextension", false},
    {"/v.jpg/file", false},               // a dot in a folder name is no extension
    {"trailingdot.", false},
    {"picture.jpg.gz", false},
    {"", false},
};

INSTANTIATE_TEST_SUITE_P(Names, ImageCodecGuessTest,
                         ::testing::Combine(::testing::ValuesIn(kGuessCases), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<1>(info.param) ? "Loaded" : "Unloaded") + "_" +
                                  std::to_string(info.index / 2);
                         });

TEST(ImageCodecGuess, NoNameIsNoImage) { EXPECT_EQ(GuessImageCodec(nullptr), 0); }

}  // namespace
