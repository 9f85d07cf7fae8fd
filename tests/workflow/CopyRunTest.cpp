// What a copy does when its target name is taken: the same bytes are skipped, a different
// file is kept (or numbered past, or replaced on request), and a dry run plans the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "support/Succeeded.h"
#include "support/TempFolder.h"
#include "workflow/run/CopyRun.h"
#include "workflow/naming/NewFileName.h"
#include "workflow/rows/RowResultText.h"

namespace {

namespace fs = std::filesystem;

struct CopyRow {
  std::string Source;
  std::string Target;
};

struct RowOutcome {
  std::string Result;
  std::string Target;
  bool operator==(const RowOutcome&) const = default;
};

// A copy made as a run makes it: planned, written beside its target and made durable,
// then named.
TCopyOutcome Copy(TCopyRun& run, const std::string& source, const std::string& target) {
  const TCopyOutcome planned = run.Plan(source, target);
  if (!planned.Result.Planned) return planned;
  const auto folder = std::make_shared<platform::TargetFolder>();
  std::vector<platform::MadeFolder> made;
  EXPECT_TRUE(Succeeded(folder->Open(RenameFolderOf(planned.Target), {}, made)));
  platform::StagedCopy staged;
  EXPECT_TRUE(Succeeded(staged.Write(source, folder, true, nullptr)));
  EXPECT_TRUE(Succeeded(staged.Sync()));
  return run.Finish(staged, source, target, planned);
}

std::map<std::string, std::string> FilesIn(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) files[entry.path().filename().string()] = ReadWholeFile(entry);
  return files;
}

class CopyRunTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(out); }
  std::string Out(const std::string& name) const { return (out / name).string(); }

  // Plans the rows, checks that planning wrote nothing, then copies them; returns the
  // copies' outcomes after checking that the plan foretold each of them.
  std::vector<RowOutcome> PlanThenCopy(const std::vector<CopyRow>& rows, TTakenName takenName) {
    const auto before = FilesIn(out);
    std::vector<std::string> sources;
    for (const CopyRow& row : rows) sources.push_back(row.Source);
    TCopyRun planRun(sources, takenName);
    std::vector<RowOutcome> planned;
    for (const CopyRow& row : rows) {
      TCopyOutcome outcome = planRun.Plan(row.Source, row.Target);
      // A real run reports what the plan said, in the past tense.
      outcome.Result.Planned = false;
      planned.push_back({RowResultText(outcome.Result), outcome.Target});
    }
    EXPECT_EQ(FilesIn(out), before) << "a plan writes nothing";
    TCopyRun run(sources, takenName);
    std::vector<RowOutcome> copied;
    for (const CopyRow& row : rows) {
      const TCopyOutcome outcome = Copy(run, row.Source, row.Target);
      copied.push_back({RowResultText(outcome.Result), outcome.Target});
    }
    EXPECT_EQ(planned, copied);
    return copied;
  }

  TempFolder folder;
  fs::path out = folder / "out";
  std::string clip = folder.WriteFile("clip.mp4", "the clip's bytes").string();
  // As long as the clip, and different: only the contents tell them apart.
  std::string twin = folder.WriteFile("twin.mp4", "the clip's bytez").string();
};

TEST_F(CopyRunTest, ATakenNameKeepsADifferentFileAndSkipsTheSameBytes) {
  folder.WriteFile("out/other.mp4", "an earlier import");
  folder.WriteFile("out/copied.mp4", "the clip's bytes");
  const std::vector<RowOutcome> outcomes =
      PlanThenCopy({{clip, Out("other.mp4")}, {clip, Out("copied.mp4")}, {twin, Out("copied.mp4")}, {twin, Out("new.mp4")}},
                   TTakenName::Keep);
  EXPECT_EQ(outcomes, (std::vector<RowOutcome>{{"failed: a different file has that name", Out("other.mp4")},
                                               {"skipped: already copied", Out("copied.mp4")},
                                               {"failed: a different file has that name", Out("copied.mp4")},
                                               {"copied", Out("new.mp4")}}));
  EXPECT_EQ(FilesIn(out), (std::map<std::string, std::string>{{"other.mp4", "an earlier import"},
                                                              {"copied.mp4", "the clip's bytes"},
                                                              {"new.mp4", "the clip's bytez"}}));
}

TEST_F(CopyRunTest, UniqueNamesNumberPastOtherFilesAndSkipACopyAlreadyNumbered) {
  folder.WriteFile("out/same.mp4", "was here before");
  fs::create_directory(out / "same_2.mp4");
  const std::vector<RowOutcome> outcomes =
      PlanThenCopy({{clip, Out("same.mp4")}, {twin, Out("same.mp4")}, {clip, Out("same.mp4")}}, TTakenName::Unique);
  EXPECT_EQ(outcomes, (std::vector<RowOutcome>{{"copied", Out("same_1.mp4")},
                                               {"copied", Out("same_3.mp4")},
                                               {"skipped: already copied", Out("same_1.mp4")}}));
  EXPECT_EQ(ReadWholeFile(out / "same.mp4"), "was here before");
  EXPECT_EQ(ReadWholeFile(out / "same_3.mp4"), "the clip's bytez");
}

TEST_F(CopyRunTest, ReplacingIsAskedForAndStillSkipsTheSameBytes) {
  folder.WriteFile("out/other.mp4", "an earlier import");
  folder.WriteFile("out/copied.mp4", "the clip's bytes");
  fs::create_directory(out / "folder.mp4");
  const std::vector<RowOutcome> outcomes = PlanThenCopy(
      {{clip, Out("other.mp4")}, {clip, Out("copied.mp4")}, {clip, Out("folder.mp4")}}, TTakenName::Replace);
  EXPECT_EQ(outcomes, (std::vector<RowOutcome>{{"copied (replaced an existing file)", Out("other.mp4")},
                                               {"skipped: already copied", Out("copied.mp4")},
                                               {"failed: Is a directory", Out("folder.mp4")}}));
  EXPECT_EQ(ReadWholeFile(out / "other.mp4"), "the clip's bytes");
}

}  // namespace
