// The protocol's five entry points, called the way the libraries call them, on real files.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "FFLoad/MediaHeaders.h"
#include "UnicodeProtocol/UnicodeFileProtocol.h"
#include "UnicodeProtocol/UnicodeProtocol.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

using ff::legacy::ConnectionRecord;
using ff::legacy::ProtocolRecord;

constexpr int kRead = AVIO_FLAG_READ;
constexpr int kWrite = AVIO_FLAG_WRITE;
constexpr int kReadWrite = AVIO_FLAG_READ_WRITE;

class UnicodeFileProtocolTest : public ::testing::Test {
 protected:
  ~UnicodeFileProtocolTest() override {
    if (opened_) protocol_.close(&connection_);
  }

  static std::string Url(const fs::path& path) { return NameToUnicodeUrl(Wide(path)); }

  int Open(const fs::path& path, int flags) {
    const int result = protocol_.open(&connection_, Url(path).c_str(), flags);
    opened_ = result == 0;
    return result;
  }
  int Close() {
    opened_ = false;
    return protocol_.close(&connection_);
  }
  int Read(std::string& buffer) {
    return protocol_.read(&connection_, reinterpret_cast<unsigned char*>(buffer.data()), static_cast<int>(buffer.size()));
  }
  int Write(const std::string& bytes) {
    return protocol_.write(&connection_, reinterpret_cast<const unsigned char*>(bytes.data()),
                           static_cast<int>(bytes.size()));
  }
  std::int64_t Seek(std::int64_t position, int whence) { return protocol_.seek(&connection_, position, whence); }
  std::int64_t Size() { return Seek(0, AVSEEK_SIZE); }

  TempFolder folder_;
  ProtocolRecord& protocol_ = UnicodeFileProtocol();
  ConnectionRecord connection_{};

 private:
  bool opened_ = false;
};

class ReadOnlyOpenTest : public UnicodeFileProtocolTest, public ::testing::WithParamInterface<int> {};

TEST_P(ReadOnlyOpenTest, MissingFileGivesMinusTwoAndCreatesNothing) {
  const fs::path missing = folder_ / "missing \xC3\xA4.mp4";
  EXPECT_EQ(Open(missing, GetParam()), -2);
  EXPECT_FALSE(fs::exists(missing));
}

TEST_P(ReadOnlyOpenTest, ExistingFileIsNeitherEmptiedNorWritten) {
  const fs::path file = folder_.WriteFile("keep.bin", "original");
  ASSERT_EQ(Open(file, GetParam()), 0);
  EXPECT_EQ(Write("x"), -1);
  std::string buffer(64, '\0');
  ASSERT_EQ(Read(buffer), 8);
  EXPECT_EQ(buffer.substr(0, 8), "original");
  EXPECT_EQ(Close(), 0);
  EXPECT_EQ(ReadWholeFile(file), "original");
}

// No access bit counts as reading; other bits of the libraries (non-blocking, direct) change nothing.
INSTANTIATE_TEST_SUITE_P(Flags, ReadOnlyOpenTest,
                         ::testing::Values(kRead, 0, kRead | AVIO_FLAG_NONBLOCK, kRead | AVIO_FLAG_DIRECT));

class WritingOpenTest : public UnicodeFileProtocolTest, public ::testing::WithParamInterface<int> {};

TEST_P(WritingOpenTest, CreatesMissingFile) {
  const fs::path file = folder_ / "new \xF0\x9F\x98\x80.bin";
  ASSERT_EQ(Open(file, GetParam()), 0);
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(Size(), 0);
  EXPECT_EQ(Write("fresh"), 5);
  EXPECT_EQ(Close(), 0);
  EXPECT_EQ(ReadWholeFile(file), "fresh");
}

TEST_P(WritingOpenTest, EmptiesExistingFile) {
  const fs::path file = folder_.WriteFile("old.bin", "old content that is long");
  ASSERT_EQ(Open(file, GetParam()), 0);
  EXPECT_EQ(Size(), 0);
  EXPECT_EQ(Write("new"), 3);
  EXPECT_EQ(Close(), 0);
  EXPECT_EQ(ReadWholeFile(file), "new");
}

INSTANTIATE_TEST_SUITE_P(Flags, WritingOpenTest, ::testing::Values(kWrite, kReadWrite));

TEST_F(UnicodeFileProtocolTest, ReadWriteReadsBackWhatItWrote) {
  ASSERT_EQ(Open(folder_ / "rw.bin", kReadWrite), 0);
  ASSERT_EQ(Write("0123456789"), 10);
  EXPECT_EQ(Seek(2, SEEK_SET), 2);
  EXPECT_EQ(Seek(3, SEEK_CUR), 5);
  std::string buffer(3, '\0');
  ASSERT_EQ(Read(buffer), 3);
  EXPECT_EQ(buffer, "567");
  EXPECT_EQ(Seek(-1, SEEK_END), 9);
  ASSERT_EQ(Read(buffer), 1);
  EXPECT_EQ(buffer[0], '9');
}

TEST_F(UnicodeFileProtocolTest, ReadsToTheEndAndThenGivesZero) {
  std::string content;
  for (int i = 0; i < 100000; ++i) content += static_cast<char>('a' + i % 26);
  const fs::path file = folder_.WriteFile("long \xC3\xA4\xF0\x9F\x98\x80.bin", content);
  ASSERT_EQ(Open(file, kRead), 0);
  std::string read;
  std::string buffer(4096, '\0');
  int got;
  while ((got = Read(buffer)) > 0) read.append(buffer, 0, got);
  EXPECT_EQ(got, 0);
  EXPECT_EQ(read, content);
  EXPECT_EQ(Read(buffer), 0);
}

TEST_F(UnicodeFileProtocolTest, SizeQueryAndSeeksReachBeyondFourGigabytes) {
  const std::int64_t size = (std::int64_t{5} << 30) + 7;  // sparse: takes no disk space
  const std::int64_t markerAt = (std::int64_t{1} << 32) + 1;
  const fs::path file = folder_ / "big.bin";
  {
    std::ofstream out(file, std::ios::binary);
    out.seekp(markerAt);
    out.put('Z');
  }
  fs::resize_file(file, size);

  ASSERT_EQ(Open(file, kRead), 0);
  EXPECT_EQ(Size(), size);
  EXPECT_EQ(Seek(markerAt, SEEK_SET), markerAt);
  std::string buffer(1, '\0');
  ASSERT_EQ(Read(buffer), 1);
  EXPECT_EQ(buffer[0], 'Z');
  EXPECT_EQ(Seek(-1, SEEK_END), size - 1);
  EXPECT_EQ(Read(buffer), 1);
  EXPECT_EQ(Read(buffer), 0);
}

TEST_F(UnicodeFileProtocolTest, FailedSeeksGiveMinusOne) {
  ASSERT_EQ(Open(folder_.WriteFile("small.bin", "abc"), kRead), 0);
  EXPECT_EQ(Seek(-1, SEEK_SET), -1);
  EXPECT_EQ(Seek(0, 3), -1);  // no such origin
  EXPECT_EQ(Seek(1, SEEK_SET), 1);
}

// A connection that never opened a file (its slot left null) and one that was closed.
TEST_F(UnicodeFileProtocolTest, ConnectionWithoutOpenFileFailsEveryCall) {
  for (bool openedAndClosed : {false, true}) {
    if (openedAndClosed) {
      ASSERT_EQ(Open(folder_.WriteFile("closed.bin", "abc"), kReadWrite), 0);
      EXPECT_EQ(Close(), 0);
    }
    std::string buffer(4, '\0');
    EXPECT_EQ(Read(buffer), -1) << openedAndClosed;
    EXPECT_EQ(Write("abc"), -1) << openedAndClosed;
    EXPECT_EQ(Seek(0, SEEK_SET), -1) << openedAndClosed;
    EXPECT_EQ(Size(), -1) << openedAndClosed;
  }
}

TEST_F(UnicodeFileProtocolTest, AddressThatDoesNotDecodeOpensNothing) {
  folder_.WriteFile("a.bin", "abc");
  const std::string url = "unicode:utf8:" + (folder_.path() / "\xC3(a.bin").string();
  EXPECT_EQ(protocol_.open(&connection_, url.c_str(), kRead), -2);
}

}  // namespace
