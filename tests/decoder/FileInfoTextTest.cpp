// The file information text of real files made at test time.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "platform/System.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestNeeds.h"

namespace {

using Lines = std::vector<std::string>;

// Splits the text at CR LF and fails on any other line break.
Lines SplitCrLf(const std::string& text) {
  Lines lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "the last line ends with CR LF too";
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone line break in: " << line;
    lines.push_back(std::move(line));
    start = end + 2;
  }
  return lines;
}

std::ptrdiff_t IndexOf(const Lines& lines, const std::string& line) {
  auto found = std::find(lines.begin(), lines.end(), line);
  return found == lines.end() ? -1 : found - lines.begin();
}

std::ptrdiff_t CountOf(const Lines& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

class FileInfoTextTest : public ::testing::Test {
 protected:
  void SetUp() override { RequireMediaLibraries(); }

  Lines InfoLines(const std::filesystem::path& file) {
    EXPECT_TRUE(decoder_.LoadFile(Wide(file))) << decoder_.LastErrMsg();
    return SplitCrLf(decoder_.FileInfoText());
  }

  TempFolder folder_;
  TFFDecoder decoder_;
};

TEST_F(FileInfoTextTest, AnUncompressedMatroskaFileReadsExactlySo) {
  MediaSpec spec;
  spec.metadata = {"creation_time=2015-06-01T10:20:30Z"};
  spec.extra = {"-c:v", "rawvideo", "-pix_fmt", "gray", "-fflags", "+bitexact", "-metadata:s:v:0", "language=eng",
                "-metadata:s:v:0", "title=Cam"};
  const auto file = MakeMedia(folder_ / "exact.mkv", spec);
  ASSERT_TRUE(decoder_.LoadFile(Wide(file)));
  const std::string point(1, platform::DecimalSeparator());
  const std::string expected =
      "File Name: " + file.string() + "\r\n"
      "Format Name: matroska,webm\r\n"
      "Format Long Name: Matroska / WebM\r\n"
      "File Size: 76" + point + "29 KB\r\n"
      "Metadata:\r\n"
      "  encoder         : Lavf\r\n"
      "  creation_time   : 2015-06-01T10:20:30.000000Z\r\n"
      "Duration: 00:00:01.005, start: 0.000000, bitrate: 624 kb/s\r\n"
      "  Stream #0(eng), 1/1000: Video: rawvideo (Y800 / 0x30303859), gray(pc, progressive), 64x48, "
      "SAR 1:1 DAR 4:3, 25 fps, 25 tbr, 1k tbn, start: 0.000000\r\n"
      "  Metadata:\r\n"
      "    title           : Cam\r\n"
      "    ENCODER         : Lavc rawvideo\r\n"
      "    DURATION        : 00:00:01.000000000\r\n";
  EXPECT_EQ(decoder_.FileInfoText(), expected);
}

class ContainerCreationTimeTest : public FileInfoTextTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ContainerCreationTimeTest, StandsOnceAtContainerLevelBehindTheFileSize) {
  const auto file = MakeMediaWithCreationTime(folder_ / (std::string("clip.") + GetParam()), "2015-06-01T10:20:30Z");
  const Lines lines = InfoLines(file);
  const std::string entry = "  creation_time   : 2015-06-01T10:20:30.000000Z";
  EXPECT_EQ(CountOf(lines, entry), 1);
  const auto metadata = IndexOf(lines, "Metadata:");
  const auto duration = std::find_if(lines.begin(), lines.end(),
                                     [](const std::string& l) { return l.rfind("Duration: ", 0) == 0; }) - lines.begin();
  ASSERT_GE(metadata, 4);
  EXPECT_EQ(lines[metadata - 1].rfind("File Size: ", 0), 0u);
  const auto at = IndexOf(lines, entry);
  EXPECT_GT(at, metadata);
  EXPECT_LT(at, duration);
}

INSTANTIATE_TEST_SUITE_P(Containers, ContainerCreationTimeTest, ::testing::Values("mp4", "mov", "mkv", "m4a"));

TEST_F(FileInfoTextTest, AStreamCreationTimeIsIndentedUnderItsStream) {
  MediaSpec spec;
  spec.extra = {"-c:v", "rawvideo", "-metadata:s:v:0", "creation_time=2016-01-02T03:04:05Z"};
  const Lines lines = InfoLines(MakeMedia(folder_ / "stream.nut", spec));
  const auto stream = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return l.rfind("  Stream #0", 0) == 0; });
  ASSERT_NE(stream, lines.end());
  const Lines after(stream + 1, lines.end());
  EXPECT_EQ(after.at(0), "  Metadata:");
  EXPECT_EQ(CountOf(after, "    creation_time   : 2016-01-02T03:04:05Z"), 1);
  for (const auto& line : lines) EXPECT_NE(line.rfind("  creation_time", 0), 0u) << "no container-level entry";
}

TEST_F(FileInfoTextTest, ChaptersCarryTheirTimesAndMetadata) {
  const auto chapters = folder_.WriteFile("chapters.txt",
                                          ";FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=500\ntitle=Intro\n"
                                          "[CHAPTER]\nTIMEBASE=1/1000\nSTART=500\nEND=1000\ntitle=Outro\n");
  MediaSpec spec;
  spec.extra = {"-i", chapters.string(), "-map", "0", "-map_chapters", "1", "-c:v", "rawvideo", "-pix_fmt", "gray"};
  const Lines lines = InfoLines(MakeMedia(folder_ / "chapters.mkv", spec));
  const std::string point(1, platform::DecimalSeparator());
  const auto first = IndexOf(lines, "Chapter #0: start 0" + point + "000000, end 0" + point + "500000");
  ASSERT_GE(first, 0);
  EXPECT_EQ(lines.at(first + 1), "  Metadata:");
  EXPECT_EQ(lines.at(first + 2), "    title           : Intro");
  EXPECT_EQ(lines.at(first + 3), "Chapter #1: start 0" + point + "500000, end 1" + point + "000000");
}

TEST_F(FileInfoTextTest, ProgramsListTheirStreamsRightAfterTheirMetadata) {
  MediaSpec spec = VideoAndAudio();
  spec.extra = {"-map", "0", "-map", "1", "-c:v", "mpeg2video", "-c:a", "mp2",
                "-program", "title=Cam:program_num=7:st=0:st=1", "-program", "title=Alt:program_num=9:st=0"};
  const Lines lines = InfoLines(MakeMedia(folder_ / "programs.ts", spec));
  const auto first = IndexOf(lines, "Program 7 ");
  ASSERT_GE(first, 0) << "a program without a name entry ends its line with a blank";
  EXPECT_EQ(lines.at(first + 1), "  Metadata:");
  EXPECT_EQ(lines.at(first + 2), "    service_name    : Cam");
  EXPECT_EQ(lines.at(first + 4).rfind("  Stream #0[0x100], 1/90000: Video: mpeg2video", 0), 0u) << lines.at(first + 4);
  EXPECT_EQ(lines.at(first + 5).rfind("  Stream #1[0x101], 1/90000: Audio: mp2", 0), 0u) << lines.at(first + 5);
  const auto second = IndexOf(lines, "Program 9 ");
  ASSERT_GT(second, first);
  EXPECT_EQ(lines.at(second + 4).rfind("  Stream #0[0x100]", 0), 0u) << "a stream of two programs is written twice";
  EXPECT_EQ(IndexOf(lines, "No Program"), -1);
}

TEST_F(FileInfoTextTest, MultiLineContainerValuesContinueOnTheirOwnLines) {
  MediaSpec spec;
  spec.metadata = {"comment=first\r\nsecond", "creation_time=2015-06-01T10:20:30Z"};
  const Lines lines = InfoLines(MakeMedia(folder_ / "lines.mkv", spec));
  // Matroska stores the keys it has no element for in capitals.
  const auto at = IndexOf(lines, "  COMMENT         : first ");
  ASSERT_GE(at, 0);
  EXPECT_EQ(lines.at(at + 1), "                  : second");
}

TEST_F(FileInfoTextTest, ALineBreakInTheFileNameCannotForgeALine) {
  MORVANE_NEEDS(Missing(TNeed::PosixNames));
  const auto file = MakeMedia(folder_ / "evil\n  creation_time   : 1999.mkv");
  const Lines lines = InfoLines(file);
  std::string name = file.string();
  std::replace(name.begin(), name.end(), '\n', ' ');
  EXPECT_EQ(lines.at(0), "File Name: " + name);
  for (const auto& line : lines) EXPECT_NE(line.rfind("  creation_time", 0), 0u) << line;
}

TEST_F(FileInfoTextTest, ALongValueIsCutTo255Bytes) {
  MediaSpec spec;
  spec.metadata = {"comment=" + std::string(300, 'v')};
  const Lines lines = InfoLines(MakeMedia(folder_ / "long.mkv", spec));
  EXPECT_GE(IndexOf(lines, "  COMMENT         : " + std::string(255, 'v')), 0);
}

}  // namespace
