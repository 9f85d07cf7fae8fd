// HEIC photos, made by libheif and read through it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "workflow/dates/PhotoDate.h"
#include "workflow/PhotoFactory.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;

const ExifField Original{EXIF_TAG_DATE_TIME_ORIGINAL, "2021:07:10 20:39:25"};
const ExifField OriginalOffset{EXIF_TAG_OFFSET_TIME_ORIGINAL, "+01:00"};
const ExifField OriginalSubSeconds{EXIF_TAG_SUB_SEC_TIME_ORIGINAL, "05"};

class PhotoDateTest : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(PhotoDateTest, HeicDatesComeFromItsExifBlock) {
  const auto date =
      ReadPhotoDate(MakeHeicWithExif(folder / "photo.HEIC", {Original, OriginalSubSeconds, OriginalOffset}).string());
  ASSERT_TRUE(date);
  EXPECT_EQ(date->CreationTime, "2021-07-10T20:39:25.050000+01:00");
  EXPECT_EQ(date->Source, "EXIF DateTimeOriginal, SubSecTimeOriginal, OffsetTimeOriginal");
  EXPECT_FALSE(ReadPhotoDate(MakeHeicWithExif(folder / "bare.heif", {}).string()));
}

using WorkflowNamingTest = CopyFolderTest;

TEST_F(WorkflowNamingTest, AHeifPhotoThatTheMediaLibrariesCannotOpenStillGivesItsDate) {
  const std::string heic =
      MakeHeicWithExif(folder / "photo.HEIC", {{EXIF_TAG_DATE_TIME_ORIGINAL, "2019:01:02 03:04:05"}}).string();
  workflow.SelectFiles({heic});
  const TFileRow& row = workflow.Rows()[0];
  EXPECT_EQ(row.ReadProblem.Kind, TRowKind::None) << RowResultText(row.ReadProblem);
  EXPECT_EQ(row.CreationTime, "2019-01-02T03:04:05.000000");
  workflow.RenameFiles();
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_TRUE(fs::exists(folder / "2019-01-02T03_04_05.000000.HEIC"));
}

}  // namespace
