// A build without a HEIF reader (the Windows build) names what is missing for a HEIF photo
// instead of giving it no date.
#include <gtest/gtest.h>

#include <string>

#include "workflow/dates/PhotoDate.h"
#include "support/TempFolder.h"

namespace {

TEST(HeifMissingTest, AHeifPhotoIsReportedAsUnreadableWithTheReason) {
  TempFolder folder;
  // The start of an ISO media file of the HEIC brand: all that tells a HEIF photo.
  const std::string start = std::string("\0\0\0\x18" "ftypheic\0\0\0\0mif1heic", 24);
  std::string unreadable;
  EXPECT_FALSE(ReadPhotoDate(folder.WriteFile("photo.HEIC", start).string(), &unreadable));
  EXPECT_EQ(unreadable, HeifReaderMissing);
  unreadable.clear();
  EXPECT_FALSE(ReadPhotoDate(folder.WriteFile("clip.mp4", std::string("\0\0\0\x18" "ftypisom", 12)).string(),
                             &unreadable));
  EXPECT_EQ(unreadable, "") << "other ISO media files are not photos";
}

}  // namespace
