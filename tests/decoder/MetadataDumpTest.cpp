// How metadata, rates and start times are written into the file information text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FFDecode/FileInfoText.h"
#include "FFLoad/EntryPoints.h"
#include "FFUtils/FFOwners.h"
#include "support/TestEnvironment.h"

namespace {

class MetadataDumpTest : public ::testing::Test {
 protected:
  void SetUp() override { RequireMediaLibraries(); }

  void Set(const std::string& key, const std::string& value) {
    AVDictionary* raw = dictionary_.release();
    ff::avutil.av_dict_set(&raw, key.c_str(), value.c_str(), 0);
    dictionary_.reset(raw);
  }
  std::vector<std::string> Dump(const std::string& indent = "") {
    std::vector<std::string> lines;
    DumpMetadata(lines, dictionary_.get(), indent);
    return lines;
  }

  ff::DictionaryPtr dictionary_;
};

using Lines = std::vector<std::string>;

TEST_F(MetadataDumpTest, KeysArePaddedToSixteenColumnsBehindTheIndent) {
  Set("major_brand", "isom");
  Set("creation_time", "2015-06-01T10:20:30.000000Z");
  Set("a_key_longer_than_sixteen", "x");
  EXPECT_EQ(Dump(), (Lines{"Metadata:", "  major_brand     : isom", "  creation_time   : 2015-06-01T10:20:30.000000Z",
                           "  a_key_longer_than_sixteen: x"}));
  EXPECT_EQ(Dump("  ")[2], "    creation_time   : 2015-06-01T10:20:30.000000Z");
}

TEST_F(MetadataDumpTest, ALanguageAloneWritesNothingAndIsNeverWrittenItself) {
  EXPECT_EQ(Dump(), Lines{}) << "no dictionary";
  Set("language", "eng");
  EXPECT_EQ(Dump("  "), Lines{});
  Set("title", "Talk");
  EXPECT_EQ(Dump("  "), (Lines{"  Metadata:", "    title           : Talk"}));
  Set("Language", "ger");
  EXPECT_EQ(Dump(""), (Lines{"Metadata:", "  title           : Talk", "  Language        : ger"}))
      << "only the exact key \"language\" is left out";
}

TEST_F(MetadataDumpTest, LineBreaksInValuesContinueOnIndentedLines) {
  Set("lyrics", "first\r\nsecond\nthird");
  Set("empty", "");
  Set("controls", std::string("a\bb\vc\fd"));
  EXPECT_EQ(Dump(), (Lines{"Metadata:", "  lyrics          : first ", "                  : second",
                           "                  : third", "  empty           : ", "  controls        : abcd"}));
  EXPECT_EQ(Dump("  ")[2], "                    : second");
}

TEST_F(MetadataDumpTest, PiecesLongerThan255BytesAreCut) {
  Set("comment", std::string(300, 'x') + "\n" + std::string(10, 'y'));
  const Lines lines = Dump();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "  comment         : " + std::string(255, 'x'));
  EXPECT_EQ(lines[2], "                  : " + std::string(10, 'y'));
}

TEST_F(MetadataDumpTest, ALineBreakInAKeyBecomesABlank) {
  Set("evil\n  creation_time   ", "1999");
  EXPECT_EQ(Dump(), (Lines{"Metadata:", "  evil   creation_time   : 1999"}));
}

TEST(FormatRateTest, ShowsDecimalsOnlyWhereTheRateHasThem) {
  EXPECT_EQ(FormatRate(23.976, "fps"), ", 23.98 fps");
  EXPECT_EQ(FormatRate(29.97, "fps"), ", 29.97 fps");
  EXPECT_EQ(FormatRate(25, "fps"), ", 25 fps");
  EXPECT_EQ(FormatRate(25000, "fps"), ", 25k fps");
  EXPECT_EQ(FormatRate(90000, "tbn"), ", 90k tbn");
  EXPECT_EQ(FormatRate(1000, "tbn"), ", 1k tbn");
  EXPECT_EQ(FormatRate(0.5, "tbr"), ", 0.50 tbr");
  EXPECT_EQ(FormatRate(12800, "tbn"), ", 12800 tbn");
}

TEST_F(MetadataDumpTest, StartTimesAreSecondsWithSixDecimals) {
  EXPECT_EQ(FormatStartTime({1, 1000000}, 0), "0.000000");
  EXPECT_EQ(FormatStartTime({1, 1000000}, 1500000), "1.500000");
  EXPECT_EQ(FormatStartTime({1, 90000}, 135000), "1.500000");
  EXPECT_EQ(FormatStartTime({1, 1000}, -2250), "-2.250000");
  EXPECT_EQ(FormatStartTime({1, 1000}, AV_NOPTS_VALUE), "");
}

}  // namespace
