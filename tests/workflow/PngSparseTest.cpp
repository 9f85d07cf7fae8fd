// A PNG of 50 GB whose middle is a hole (nothing stored, read as zeros): the tIME chunk is
// found where the rule looks, and the reading ends without walking the hole.
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

#include "support/TempFolder.h"
#include "workflow/dates/PngDate.h"
#include "workflow/PngFactory.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t HoleEnd = std::uintmax_t{50} << 30;

class PngSparseTest : public ::testing::Test {
 protected:
  // `head`, then a hole up to 50 GB, then `tail`.
  std::optional<TFileDate> DateOf(const std::string& head, const std::string& tail) {
    const fs::path file = folder.WriteFile("sparse" + std::to_string(++count) + ".png", head);
    fs::resize_file(file, HoleEnd);
    std::ofstream(file, std::ios::binary | std::ios::app) << tail;
    EXPECT_EQ(fs::file_size(file), HoleEnd + tail.size());
    return ReadPngDate(file.string());
  }

  TempFolder folder;
  int count = 0;
};

TEST_F(PngSparseTest, AHoleAfterTheHeaderOrTheImageDataIsNeverWalked) {
  const PngBytes png = MakePngBytes(folder / "made.png");
  ASSERT_FALSE(png.End.empty());
  const std::string time = PngTimeChunk(2022, 5, 28, 14, 6, 57);
  const TFileDate date{"PNG tIME", "2022-05-28T14:06:57Z"};
  const std::string header = png.Image.substr(0, PngAfterHeader);

  EXPECT_EQ(DateOf(header, png.End), std::nullopt) << "zeros after the header are no chunks";
  EXPECT_EQ(DateOf(header + time + png.Image.substr(PngAfterHeader), png.End), date);
  EXPECT_EQ(DateOf(png.Image, time + png.End), date) << "in the tail, 50 GB on";
  EXPECT_EQ(DateOf(png.Image + time, png.End), std::nullopt) << "after the image data, 50 GB before the end";
}

}  // namespace
