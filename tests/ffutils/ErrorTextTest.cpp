#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <ostream>
#include <string>

#include "FFLoad/MediaHeaders.h"
#include "FFUtils/ErrorMessages.h"
#include "FFUtils/FFUtils.h"

namespace {

TEST(ErrorTextTest, TableHasEveryRowAndOnlyTwoRepeatedCodes) {
  const auto table = ErrorMessageTable();
  EXPECT_EQ(table.size(), 210u);
  std::map<int, int> occurrences;
  for (const TErrorMessage& row : table) ++occurrences[row.Code];
  EXPECT_EQ(occurrences.size(), 208u);
  for (const auto& [code, count] : occurrences)
    EXPECT_TRUE(count == 1 || code == -4 || code == -10004) << code << " stands " << count << " times";
  EXPECT_EQ(occurrences[-4], 2);
  EXPECT_EQ(occurrences[-10004], 2);
}

TEST(ErrorTextTest, FirstMatchingRowWins) {
  const auto table = ErrorMessageTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const TErrorMessage* found = FindErrorMessage(table[i].Code);
    ASSERT_NE(found, nullptr);
    EXPECT_LE(found, &table[i]) << "row " << i;
    EXPECT_EQ(found->Code, table[i].Code);
    EXPECT_STREQ(found->Message, table[i].Message) << "a repeated code must carry one text";
  }
}

struct ErrorCase {
  int code;
  const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* out) { *out << c.code << " -> \"" << c.message << '"'; }

class ErrorText : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorText, MessageAloneAndBehindAPrefix) {
  EXPECT_EQ(GetErrorText("", GetParam().code), GetParam().message);
  EXPECT_EQ(GetErrorText("a.mp4", GetParam().code), std::string("a.mp4: ") + GetParam().message);
}

// The libraries' codes come from their own header macros, so a mistyped code shows here.
INSTANTIATE_TEST_SUITE_P(
    LibraryCodes, ErrorText,
    ::testing::Values(ErrorCase{AVERROR_BSF_NOT_FOUND, "Bitstream filter not found"},
                      ErrorCase{AVERROR_BUG, "Internal bug, should not have happened"},
                      ErrorCase{AVERROR_BUG2, "Internal bug, should not have happened"},
                      ErrorCase{AVERROR_BUFFER_TOO_SMALL, "Buffer too small"},
                      ErrorCase{AVERROR_DECODER_NOT_FOUND, "Decoder not found"},
                      ErrorCase{AVERROR_DEMUXER_NOT_FOUND, "Demuxer not found"},
                      ErrorCase{AVERROR_ENCODER_NOT_FOUND, "Encoder not found"},
                      ErrorCase{AVERROR_EOF, "End of file"}, ErrorCase{AVERROR_EXIT, "Immediate exit requested"},
                      ErrorCase{AVERROR_EXTERNAL, "Generic error in an external library"},
                      ErrorCase{AVERROR_FILTER_NOT_FOUND, "Filter not found"},
                      ErrorCase{AVERROR_INVALIDDATA, "Invalid data found when processing input"},
                      ErrorCase{AVERROR_MUXER_NOT_FOUND, "Muxer not found"},
                      ErrorCase{AVERROR_OPTION_NOT_FOUND, "Option not found"},
                      ErrorCase{AVERROR_PATCHWELCOME, "Not yet implemented in FFmpeg, patches welcome"},
                      ErrorCase{AVERROR_PROTOCOL_NOT_FOUND, "Protocol not found"},
                      ErrorCase{AVERROR_STREAM_NOT_FOUND, "Stream not found"},
                      ErrorCase{AVERROR_UNKNOWN, "Unknown error occurred"},
                      ErrorCase{AVERROR_EXPERIMENTAL, "Requested feature is flagged experimental. Set "
                                                      "strict_std_compliance if you really want to use it."}));

// The table's codes are the Linux error numbers, negated; the ones that differ between
// systems are written as numbers.
INSTANTIATE_TEST_SUITE_P(
    SystemCodes, ErrorText,
    ::testing::Values(ErrorCase{AVERROR(ENOENT), "No such file or directory"},
                      ErrorCase{AVERROR(EINTR), "Interrupted function call"},
                      ErrorCase{AVERROR(EINVAL), "Invalid argument / Invalid data found when processing input"},
                      ErrorCase{-43, "Identifier removed"},
                      ErrorCase{-81, ".lib section in a.out corrupted"},
                      ErrorCase{-131, "State not recoverable"}));

INSTANTIATE_TEST_SUITE_P(
    SocketCodes, ErrorText,
    ::testing::Values(ErrorCase{-10004, "Interrupted function call"}, ErrorCase{-10060, "Connection timed out"},
                      ErrorCase{-10062, "Too many symbolic links encountered"}, ErrorCase{-10069, "Quota exceeded"},
                      ErrorCase{-10035, "WSAEWOULDBLOCK"}, ErrorCase{-11004, "WSANO_DATA"},
                      ErrorCase{-10112, "WSAEREFUSED"}));

INSTANTIATE_TEST_SUITE_P(
    UnknownCodes, ErrorText,
    ::testing::Values(ErrorCase{-1, "Error number -1 occurred"}, ErrorCase{-41, "Error number -41 occurred"},
                      ErrorCase{-42, "Error number -42 occurred"}, ErrorCase{-58, "Error number -58 occurred"},
                      ErrorCase{-132, "Error number -132 occurred"}, ErrorCase{2, "Error number 2 occurred"},
                      ErrorCase{INT_MIN, "Error number -2147483648 occurred"}));

}  // namespace
