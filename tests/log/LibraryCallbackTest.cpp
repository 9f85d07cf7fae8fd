// Library messages through the callback: line assembly, object prefixes, repeat folding,
// the threshold, and real messages of the libraries.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstddef>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "FFLoad/EntryPoints.h"
#include "FFLog/FFLog.h"
#include "FFUtils/FFOwners.h"
#include "log/LogCapture.h"
#include "platform/System.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"

namespace {

// An address is shown with as many digits as a pointer has.
constexpr int HexDigits = static_cast<int>(sizeof(void*) * 2);

std::string Hex(const void* pointer) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*" PRIXPTR, HexDigits, reinterpret_cast<std::uintptr_t>(pointer));
  return text;
}

class LibraryCallbackTest : public ::testing::Test {
 protected:
  // Loads before the first case makes its logger, so that the loader's reports of the
  // versions it bound are not among the messages a case captures.
  static void SetUpTestSuite() { RequireMediaLibraries(); }
  void SetUp() override {
    RequireMediaLibraries();
    logger_.SetLogLevel(llInfo);
  }
  // A real demuxer context of the libraries, opened on a file made now.
  ff::InputContextPtr OpenInput(const std::string& name) {
    const auto file = MakeMedia(folder_ / name);
    AVFormatContext* context = nullptr;
    EXPECT_EQ(ff::avformat.avformat_open_input(&context, file.string().c_str(), nullptr, nullptr), 0);
    return ff::InputContextPtr(context);
  }

  TempFolder folder_;
  TFFLogger logger_;
  LogCapture capture_{logger_};
};

TEST_F(LibraryCallbackTest, FragmentsOfOneThreadMakeOneLineWithTheFirstFragmentsPrefix) {
  ff::InputContextPtr input = OpenInput("fragments.mkv");
  ASSERT_TRUE(input);
  CallLibraryLog(input.get(), AV_LOG_WARNING, "abc");
  EXPECT_TRUE(capture_.Entries().empty()) << "a line is delivered only once it ends";
  CallLibraryLog(input.get(), AV_LOG_WARNING, "%s%c", "def", '\n');
  const auto entries = capture_.Entries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].message, "[matroska,webm @ " + Hex(input.get()) + "] abcdef");
  EXPECT_EQ(entries[0].sender, &logger_);
  EXPECT_EQ(entries[0].level, llWarning);
  EXPECT_EQ(entries[0].threadId, platform::CurrentThreadId());
}

TEST_F(LibraryCallbackTest, SeveralLinesInOneMessageKeepTheirCarriageReturns) {
  CallLibraryLog(nullptr, AV_LOG_INFO, "first\r\nsecond\nthird ");
  CallLibraryLog(nullptr, AV_LOG_INFO, "%d\n", 3);
  EXPECT_EQ(capture_.Messages(), (std::vector<std::string>{"first\r", "second", "third 3"}));
}

// A library object whose class names a parent, laid out as the libraries lay theirs out.
struct ChildObject {
  const AVClass* record;
  void* parent;
};
const char* ChildName(void*) { return "child item"; }
const AVClass kChildClass = [] {
  AVClass record{};
  record.class_name = "child";
  record.item_name = ChildName;
  record.version = LIBAVUTIL_VERSION_INT;
  record.parent_log_context_offset = offsetof(ChildObject, parent);
  return record;
}();

TEST_F(LibraryCallbackTest, APrefixNamesTheParentFirstWhenThereIsOne) {
  ff::InputContextPtr input = OpenInput("parent.mkv");
  ASSERT_TRUE(input);
  ChildObject child{&kChildClass, input.get()};
  CallLibraryLog(&child, AV_LOG_ERROR, "with parent\n");
  ChildObject orphan{&kChildClass, nullptr};
  CallLibraryLog(&orphan, AV_LOG_ERROR, "without parent\n");
  EXPECT_EQ(capture_.Messages(),
            (std::vector<std::string>{
                "[matroska,webm @ " + Hex(input.get()) + "] [child item @ " + Hex(&child) + "] with parent",
                "[child item @ " + Hex(&orphan) + "] without parent"}));
}

TEST_F(LibraryCallbackTest, FoldsRunsOfTheSameLineIntoOneNotice) {
  for (int i = 0; i < 5; ++i) CallLibraryLog(nullptr, AV_LOG_INFO, "five times\n");
  CallLibraryLog(nullptr, AV_LOG_WARNING, "after five\n");
  for (int i = 0; i < 2; ++i) CallLibraryLog(nullptr, AV_LOG_INFO, "twice\n");
  CallLibraryLog(nullptr, AV_LOG_INFO, "after twice\n");
  for (int i = 0; i < 3; ++i) CallLibraryLog(nullptr, AV_LOG_INFO, "no line feed");
  CallLibraryLog(nullptr, AV_LOG_INFO, "\n");
  const auto entries = capture_.Entries();
  std::vector<std::string> messages;
  for (const auto& entry : entries) messages.push_back(entry.message);
  EXPECT_EQ(messages, (std::vector<std::string>{"five times", "    Last message repeated 4 times", "after five",
                                                "twice", "after twice", "no line feedno line feedno line feed"}));
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[1].level, llWarning) << "the notice carries the level of the message that ends the run";
}

TEST_F(LibraryCallbackTest, AMessageLongerThanTheLineBufferArrivesWhole) {
  const std::string longText(5000, 'x');
  ff::InputContextPtr input = OpenInput("long.mkv");
  ASSERT_TRUE(input);
  CallLibraryLog(input.get(), AV_LOG_INFO, "%s|%d\n", longText.c_str(), 42);
  EXPECT_EQ(capture_.Messages(),
            (std::vector<std::string>{"[matroska,webm @ " + Hex(input.get()) + "] " + longText + "|42"}));
}

TEST_F(LibraryCallbackTest, TheThresholdFollowsLogLevelAndFiltersLibraryMessages) {
  logger_.SetLogLevel(llWarning);
  EXPECT_EQ(ff::avutil.av_log_get_level(), AV_LOG_WARNING);
  CallLibraryLog(nullptr, AV_LOG_INFO, "info is above warning\n");
  CallLibraryLog(nullptr, AV_LOG_WARNING, "warning passes\n");
  logger_.SetLogLevel(llDebug);
  EXPECT_EQ(ff::avutil.av_log_get_level(), AV_LOG_DEBUG);
  CallLibraryLog(nullptr, AV_LOG_DEBUG, "debug passes now\n");
  CallLibraryLog(nullptr, AV_LOG_TRACE, "trace never\n");
  logger_.SetLogLevel(llInfo);
  EXPECT_EQ(capture_.Messages(), (std::vector<std::string>{"warning passes", "debug passes now"}));
}

TEST_F(LibraryCallbackTest, WhileMutedNothingIsDeliveredOrAssembled) {
  logger_.SetOnLog(nullptr);
  ASSERT_TRUE(logger_.Muted());
  CallLibraryLog(nullptr, AV_LOG_ERROR, "dropped fragment ");
  CallLibraryLog(nullptr, AV_LOG_ERROR, "dropped line\n");
  LogCapture capture(logger_);
  CallLibraryLog(nullptr, AV_LOG_ERROR, "heard\n");
  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"heard"}));
}

TEST_F(LibraryCallbackTest, HookLibraryLogInstallsTheCallbackIntoTheLibraries) {
  logger_.HookLibraryLog();
  ff::InputContextPtr input = OpenInput("hooked.mkv");
  ASSERT_TRUE(input);
  ff::avutil.av_log(input.get(), AV_LOG_ERROR, "through av_log %d\n", 7);
  EXPECT_EQ(capture_.Messages(),
            (std::vector<std::string>{"[matroska,webm @ " + Hex(input.get()) + "] through av_log 7"}));
}

TEST_F(LibraryCallbackTest, ADamagedFileReportsTheLibrariesOwnPrefixedLines) {
  const auto whole = MakeMedia(folder_ / "whole.mp4");
  const std::string bytes = ReadWholeFile(whole);
  // The index of an MP4 made this way sits at its end; half the file has none.
  const auto damaged = folder_.WriteFile("damaged.mp4", bytes.substr(0, bytes.size() / 2));
  TFFDecoder decoder;
  EXPECT_FALSE(decoder.LoadFile(Wide(damaged)));
  const std::regex libraryLine(R"(\[mov,mp4,m4a,3gp,3g2,mj2 @ [0-9A-F]{)" + std::to_string(HexDigits) +
                               R"(}\] moov atom not found)");
  bool found = false;
  for (const auto& entry : capture_.Entries())
    if (std::regex_match(entry.message, libraryLine)) {
      found = true;
      EXPECT_EQ(entry.level, llError);
      EXPECT_EQ(entry.sender, &logger_);
    }
  EXPECT_TRUE(found) << "no prefixed library line among " << capture_.Messages().size() << " messages";
}

}  // namespace
