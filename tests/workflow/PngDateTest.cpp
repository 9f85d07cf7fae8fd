// Where a PNG's tIME chunk is looked for: every chunk before the image data, and past it
// only the last PngTailBytes of the file, where writers that put it after the image data
// leave it. Real pictures written by ffmpeg, with chunks put in byte by byte.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>

#include "support/TempFolder.h"
#include "workflow/dates/PngDate.h"
#include "workflow/PngFactory.h"

namespace {

const TFileDate Date{"PNG tIME", "2022-05-28T14:06:57Z"};
const std::string Time = PngTimeChunk(2022, 5, 28, 14, 6, 57);

class PngDateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    png = MakePngBytes(folder / "made.png");
    ASSERT_FALSE(png.End.empty()) << "ffmpeg's picture ends with IEND";
  }
  std::optional<TFileDate> DateOf(const std::string& bytes, const std::atomic<bool>* stop = nullptr) {
    return ReadPngDate(folder.WriteFile("case" + std::to_string(++count) + ".png", bytes).string(), stop);
  }
  std::string BeforeImageData(const std::string& chunk) const {
    return png.Image.substr(0, PngAfterHeader) + chunk + png.Image.substr(PngAfterHeader);
  }

  TempFolder folder;
  PngBytes png;
  int count = 0;
};

TEST_F(PngDateTest, TheTimeCountsBeforeTheImageDataAndInTheTailOfTheFile) {
  EXPECT_EQ(DateOf(BeforeImageData(Time) + png.End), Date);
  EXPECT_EQ(DateOf(png.Image + Time + png.End), Date) << "after the image data, near the end";
  EXPECT_EQ(DateOf(png.Image + png.End), std::nullopt);
  // More than the tail between the chunk and the end: the file is not read that far back.
  const std::string comment = PngChunk("tEXt", "Comment" + std::string(1, '\0') + std::string(PngTailBytes, 'x'));
  EXPECT_EQ(DateOf(png.Image + Time + comment + png.End), std::nullopt);
  EXPECT_EQ(DateOf(png.Image + comment + Time + png.End), Date);
  // In the tail the chunk is known by its CRC; bytes that merely look like one are no date.
  std::string damaged = Time;
  damaged.back() ^= 1;
  EXPECT_EQ(DateOf(png.Image + damaged + png.End), std::nullopt);
  // No real moment: month 13.
  EXPECT_EQ(DateOf(png.Image + PngTimeChunk(2022, 13, 28, 14, 6, 57) + png.End), std::nullopt);
}

TEST_F(PngDateTest, ChunksThatCannotBeWalkedAndAStopEndTheReadingWithoutDate) {
  // A chunk type that is not four letters (zeros of a damaged file) ends the walk there.
  EXPECT_EQ(DateOf(BeforeImageData(std::string(64, '\0') + Time) + png.End), std::nullopt);
  const std::atomic<bool> stop{true};
  EXPECT_EQ(DateOf(BeforeImageData(Time) + png.End, &stop), std::nullopt);
}

}  // namespace
