// The header-first lookup and the lookups on worker threads give the rows of the full
// lookup, file for file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <atomic>
#include <thread>

#include "FFDecode/FileInfoText.h"
#include "FFLoad/EntryPoints.h"
#include "FFUtils/FFOwners.h"
#include "support/LookupMedia.h"
#include "workflow/lookup/CreationTimeText.h"
#include "workflow/lookup/HeaderLookup.h"
#include "workflow/lookup/LookupPool.h"
#include "workflow/rows/RowResultText.h"
#include "workflow/WorkflowFixture.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

const std::string Stamp = "2015-06-01T10:20:30.000000Z";

// The fields a lookup fills, for comparing whole row lists in one check.
std::vector<std::string> Fields(const std::vector<TFileRow>& rows) {
  std::vector<std::string> fields;
  for (const TFileRow& row : rows)
    fields.push_back(row.FileName + "|" + row.CreationTime + "|" + row.NewFileName + "|" + RowResultText(row.ReadProblem));
  return fields;
}

class HeaderFirstTest : public WorkflowTest {
 protected:
  void SetUp() override {
    WorkflowTest::SetUp();
    names = MakeLookupMedia(folder.path());
  }
  std::vector<TFileRow> RowsOf(TLookupPath path, unsigned workers) {
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Lookup.Path = path; });
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Workers = workers; });
    workflow.SelectFiles(names);
    return workflow.Rows();
  }
  std::vector<std::string> names;
};

TEST_F(HeaderFirstTest, EveryPathAndWorkerCountGivesTheRowsOfTheFullLookup) {
  const auto expected = Fields(RowsOf(TLookupPath::FullProbe, 1));
  // The media holds both kinds of rows, so that the comparison means something.
  const std::vector<TFileRow>& full = workflow.Rows();
  EXPECT_EQ(full[0].CreationTime, Stamp);
  EXPECT_EQ(full[1].CreationTime, Stamp);  // FLV
  EXPECT_EQ(full.back().CreationTime, "");
  for (TLookupPath path : {TLookupPath::HeaderFirst, TLookupPath::FullProbe})
    for (unsigned workers : {1u, 2u, 8u, 64u})
      EXPECT_EQ(Fields(RowsOf(path, workers)), expected)
          << "path " << static_cast<int>(path) << ", " << workers << " workers";
}

TEST_F(HeaderFirstTest, RawValuesAreThoseOfTheFullLookup) {
  for (const std::string& name : names) {
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Lookup.Path = TLookupPath::FullProbe; });
    const std::string full = workflow.GetCreationTime(name);
    ChangeOptions(workflow, [&](TRunOptions& o) { o.Lookup.Path = TLookupPath::HeaderFirst; });
    EXPECT_EQ(workflow.GetCreationTime(name), full) << name;
  }
}

TEST_F(HeaderFirstTest, AHeaderWithTheEntryIsAllThatIsRead) {
  std::vector<TFileDate> otherDates{{"left", "over"}};
  EXPECT_EQ(CreationTimeFromHeader(decoder, HeaderMetadataFile(folder.path()), otherDates), " " + Stamp);
  EXPECT_EQ(std::count(otherDates.begin(), otherDates.end(), TFileDate{"left", "over"}), 0) << "nothing from before";
  EXPECT_TRUE(decoder.ProbeStreams);
  EXPECT_EQ(decoder.FormatContext(), nullptr);
}

// The value read from the dictionary is what the text steps find in the report of that
// dictionary, also where lines and not bytes decide: keys that pad to the same line, values
// over several lines, with " : " or with control characters, values cut at 255 bytes.
TEST_F(HeaderFirstTest, TheDictionaryGivesWhatTheReportsLinesGive) {
  const std::string longValue = "2015-06-01T10:20:30Z" + std::string(300, 'x');
  const std::vector<std::vector<std::pair<std::string, std::string>>> dictionaries = {
      {},
      {{"language", "eng"}},
      {{"title", "a : b"}, {"creation_time", " 2015 : 06\r\nsecond line"}},
      {{"CREATION_TIME", "upper"}, {"creation_time", "later"}},
      {{"creation_time  ", "two blanks behind the key"}, {"creation_time", "later"}},
      {{"creation_time\r\n", "a line break in the key"}},
      {{"creation_time ", "one blank behind"}, {"  creation_time", "in front"}},
      {{"creation_time", std::string("a\bb\vc\fd\re")}},
      {{"creation_time", longValue}},
      {{"creation_time", "\nnothing on the first line"}},
  };
  for (const auto& entries : dictionaries) {
    ff::DictionaryPtr dictionary;
    for (const auto& [key, value] : entries) {
      AVDictionary* raw = dictionary.release();
      ff::avutil.av_dict_set(&raw, key.c_str(), value.c_str(), AV_DICT_MULTIKEY);
      dictionary.reset(raw);
    }
    std::vector<std::string> report;
    DumpMetadata(report, dictionary.get(), "");
    TVectorLineBuffer reportLines;
    const std::string fromReport = CreationTimeFromReport(reportLines, JoinReportLines(report));
    EXPECT_EQ(CreationTimeFromMetadata(dictionary.get()), fromReport) << (entries.empty() ? "" : entries[0].first);
  }
}

TEST_F(HeaderFirstTest, MetadataThatOnlyPacketsRevealTakesTheFullWay) {
  const std::string flv = PacketMetadataFile(folder.path());
  std::vector<TFileDate> otherDates;
  EXPECT_EQ(CreationTimeFromHeader(decoder, flv, otherDates), "");
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Lookup.Path = TLookupPath::HeaderFirst; });
  EXPECT_EQ(workflow.GetCreationTime(flv), " " + Stamp);
  // The full report of the probed file is what the buffer holds now.
  EXPECT_THAT(lines.Line(0), StartsWith("File Name: "));
  EXPECT_THAT(lines.Text(), HasSubstr("Stream #0"));
}

TEST_F(HeaderFirstTest, WorkersReportProgressOnTheCallingThreadInRowOrder) {
  std::vector<std::size_t> indexes;
  std::size_t otherThreads = 0;
  const std::thread::id caller = std::this_thread::get_id();
  workflow.OnProgress = [&](std::size_t index, std::size_t count, const std::string& name) {
    indexes.push_back(index);
    if (std::this_thread::get_id() != caller) ++otherThreads;
    EXPECT_EQ(count, names.size());
    EXPECT_EQ(name, names[index]);
  };
  RowsOf(TLookupPath::HeaderFirst, 4);
  ASSERT_EQ(indexes.size(), names.size());
  for (std::size_t index = 0; index < indexes.size(); ++index) EXPECT_EQ(indexes[index], index);
  EXPECT_EQ(otherThreads, 0u);
}

TEST_F(HeaderFirstTest, WorkersLeaveTheWorkflowsOwnDecoderAndBufferAlone) {
  lines.SetText("kept");
  RowsOf(TLookupPath::HeaderFirst, 3);
  EXPECT_EQ(lines.Text(), "kept");
  EXPECT_EQ(decoder.FormatContext(), nullptr);
  // A single name goes to a worker too, so that a caller reading on workers never shares
  // its own decoder and buffer with the lookup.
  workflow.SelectFiles({HeaderMetadataFile(folder.path())});
  EXPECT_EQ(workflow.Rows().size(), 1u);
  EXPECT_EQ(lines.Text(), "kept");
  EXPECT_EQ(decoder.FormatContext(), nullptr);
  workflow.SelectFiles({});
  EXPECT_TRUE(workflow.Rows().empty());
}

TEST_F(HeaderFirstTest, AStopEndsTheWorkersWithTheRowsDoneInOrder) {
  const auto expected = Fields(RowsOf(TLookupPath::HeaderFirst, 1));
  std::atomic<bool> stop{true};
  workflow.SetStopFlag(&stop);
  EXPECT_TRUE(RowsOf(TLookupPath::HeaderFirst, 4).empty());

  // A stop while the rows come in: whatever came back is the front of the full list.
  stop = false;
  workflow.OnProgress = [&](std::size_t index, std::size_t, const std::string&) {
    if (index == 1) stop = true;
  };
  const auto rows = Fields(RowsOf(TLookupPath::HeaderFirst, 2));
  EXPECT_GE(rows.size(), 1u);
  ASSERT_LE(rows.size(), expected.size());
  EXPECT_EQ(rows, std::vector<std::string>(expected.begin(), expected.begin() + static_cast<long>(rows.size())));
}

TEST_F(HeaderFirstTest, RenameAfterAParallelLookupKeepsArgumentOrderForTwins) {
  // Two files with the same creation time: the first in argument order gets the name.
  const std::string first = MakeMediaWithCreationTime(folder / "z-first.mp4", Stamp).string();
  const std::string second = MakeMediaWithCreationTime(folder / "a-second.mp4", Stamp).string();
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Lookup.Path = TLookupPath::HeaderFirst; });
  ChangeOptions(workflow, [&](TRunOptions& o) { o.Workers = 8; });
  workflow.SelectFiles({first, second});
  workflow.RenameFiles();
  ASSERT_EQ(workflow.Rows().size(), 2u);
  EXPECT_EQ(ResultOf(workflow.Rows()[0]), "renamed");
  EXPECT_THAT(ResultOf(workflow.Rows()[1]), StartsWith("failed: "));
  EXPECT_TRUE(std::filesystem::exists(second));
}

}  // namespace
