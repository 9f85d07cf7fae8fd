#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "workflow/naming/NameFormat.h"
#include "workflow/dates/PhotoDate.h"
#include "workflow/PhotoFactory.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

const ExifField Original{EXIF_TAG_DATE_TIME_ORIGINAL, "2021:07:10 20:39:25"};
const ExifField OriginalOffset{EXIF_TAG_OFFSET_TIME_ORIGINAL, "+01:00"};
const ExifField OriginalSubSeconds{EXIF_TAG_SUB_SEC_TIME_ORIGINAL, "05"};
const ExifField Digitized{EXIF_TAG_DATE_TIME_DIGITIZED, "2019:01:02 03:04:05"};
const ExifField DigitizedOffset{EXIF_TAG_OFFSET_TIME_DIGITIZED, "-05:30"};

class PhotoDateTest : public ::testing::Test {
 protected:
  std::optional<TPhotoDate> JpegDate(const std::vector<ExifField>& fields) {
    return ReadPhotoDate(MakeJpegWithExif(folder / ("photo" + std::to_string(++count) + ".jpg"), fields).string());
  }
  TempFolder folder;
  int count = 0;
};

TEST_F(PhotoDateTest, DateTimeOriginalWithItsFractionAndOffset) {
  const auto date = JpegDate({Original, OriginalSubSeconds, OriginalOffset, Digitized, DigitizedOffset});
  ASSERT_TRUE(date);
  EXPECT_EQ(date->CreationTime, "2021-07-10T20:39:25.050000+01:00");
  EXPECT_EQ(date->Source, "EXIF DateTimeOriginal, SubSecTimeOriginal, OffsetTimeOriginal");
  EXPECT_EQ(date->RawText, "2021:07:10 20:39:25, 05, +01:00");
  // Without offset there is no zone, as in AVI files.
  EXPECT_EQ(JpegDate({Original})->CreationTime, "2021-07-10T20:39:25.000000");
}

TEST_F(PhotoDateTest, ElseDateTimeDigitizedWithItsOwnOffset) {
  const auto date = JpegDate({OriginalOffset, Digitized, DigitizedOffset});
  ASSERT_TRUE(date);
  EXPECT_EQ(date->CreationTime, "2019-01-02T03:04:05.000000-05:30");
  EXPECT_EQ(date->Source, "EXIF DateTimeDigitized, OffsetTimeDigitized");
  // An unset clock's placeholder is no date: the next field is taken.
  for (const char* placeholder : {"0000:00:00 00:00:00", "    :  :     :  :  ", "", "2021-07-10 20:39:25"})
    EXPECT_EQ(JpegDate({{EXIF_TAG_DATE_TIME_ORIGINAL, placeholder}, Digitized})->Source, "EXIF DateTimeDigitized")
        << placeholder;
}

TEST_F(PhotoDateTest, MalformedFractionsAndOffsetsAreLeftOut) {
  const auto date = JpegDate({Original, {EXIF_TAG_SUB_SEC_TIME_ORIGINAL, "7a"}, {EXIF_TAG_OFFSET_TIME_ORIGINAL, "+1:00"}});
  ASSERT_TRUE(date);
  EXPECT_EQ(date->CreationTime, "2021-07-10T20:39:25.000000");
  EXPECT_EQ(date->Source, "EXIF DateTimeOriginal");
  EXPECT_EQ(JpegDate({Original, {EXIF_TAG_SUB_SEC_TIME_ORIGINAL, "1234567 "}})->CreationTime,
            "2021-07-10T20:39:25.123456");
  for (const char* offset : {"", "Z", "   :  ", "+01:00 "}) {
    const auto unzoned = JpegDate({Original, {EXIF_TAG_OFFSET_TIME_ORIGINAL, offset}});
    EXPECT_EQ(unzoned->CreationTime, "2021-07-10T20:39:25.000000") << offset;
    EXPECT_EQ(unzoned->Source, "EXIF DateTimeOriginal") << offset;
  }
}

TEST_F(PhotoDateTest, NoDateIsMadeUpForPhotosWithoutOne) {
  // An EXIF block without any date: the library must not fill one in from the clock.
  EXPECT_FALSE(JpegDate({{EXIF_TAG_IMAGE_UNIQUE_ID, "0123456789abcdef"}}));
  EXPECT_FALSE(JpegDate({}));
  EXPECT_FALSE(JpegDate({{EXIF_TAG_DATE_TIME_ORIGINAL, "0000:00:00 00:00:00"}}));
  EXPECT_FALSE(ReadPhotoDate((folder / "missing.jpg").string()));
  EXPECT_FALSE(ReadPhotoDate(folder.WriteFile("empty.jpg", "").string()));
  EXPECT_FALSE(ReadPhotoDate(folder.WriteFile("cut.jpg", "\xFF\xD8\xFF\xE1\x10").string()));
}

TEST_F(PhotoDateTest, TheContentDecidesNotTheName) {
  const fs::path jpeg = MakeJpegWithExif(folder / "photo.jpg", {Original});
  fs::rename(jpeg, folder / "photo.mp4");
  EXPECT_EQ(ReadPhotoDate((folder / "photo.mp4").string())->CreationTime, "2021-07-10T20:39:25.000000");
  const fs::path video = MakeMediaWithCreationTime(folder / "clip.mp4", "2015-06-01T10:20:30.000000Z");
  fs::rename(video, folder / "clip.jpg");
  EXPECT_FALSE(ReadPhotoDate((folder / "clip.jpg").string()));
}

TEST(PhotoDateFromExifTest, TakesABlockWithOrWithoutItsHeader) {
  const std::string block = MakeExifBlock({Original});
  const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
  EXPECT_EQ(PhotoDateFromExif(bytes, block.size())->CreationTime, "2021-07-10T20:39:25.000000");
  EXPECT_EQ(PhotoDateFromExif(bytes + 6, block.size() - 6)->CreationTime, "2021-07-10T20:39:25.000000");
  for (std::size_t size : {std::size_t{0}, std::size_t{3}, block.size() / 2})
    EXPECT_FALSE(PhotoDateFromExif(bytes, size)) << size;
}

// The real photos beside the project: what their EXIF blocks hold.
TEST(SamplePhotoTest, RealCameraAndPhonePhotos) {
  // Names in UTF-8, as the workflow takes them on every system.
  const auto sample = [](const char* name) { return std::string(MORVANE_SAMPLES_DIR) + "/" + name; };
  if (!fs::exists(MORVANE_SAMPLES_DIR "/expected.tsv")) GTEST_SKIP() << "no sample folder at " << MORVANE_SAMPLES_DIR;
  const auto canon = ReadPhotoDate(sample("canon_eos_r5_fin_de_journ\xC3\xA9\x65.jpg"));
  ASSERT_TRUE(canon);
  EXPECT_EQ(canon->CreationTime, "2021-07-10T20:39:25.770000+01:00");
  EXPECT_EQ(canon->RawText, "2021:07:10 20:39:25, 77, +01:00");
  const auto iphone = ReadPhotoDate(sample("iphone7_exif_tiny.jpg"));
  ASSERT_TRUE(iphone);
  EXPECT_EQ(iphone->CreationTime, "2016-09-28T18:18:05.813000");
  EXPECT_EQ(iphone->Source, "EXIF DateTimeOriginal, SubSecTimeOriginal");
  EXPECT_FALSE(ReadPhotoDate(sample("no_exif.jpg")));
  EXPECT_FALSE(ReadPhotoDate(sample("gimp_with_tIME_chunk.png")));
  EXPECT_FALSE(ReadPhotoDate(sample("iphone6s_live_photo.mov")));

  // --tz converts a photo's time only when its offset is known.
  TNamingOptions berlin;
  berlin.Tz = TTimeZone::Find("Europe/Berlin");
  EXPECT_EQ(NamePartFor(canon->CreationTime, berlin), "2021-07-10T21:39:25.770000+02:00");
  EXPECT_EQ(NamePartFor(iphone->CreationTime, berlin), iphone->CreationTime);
}

}  // namespace
