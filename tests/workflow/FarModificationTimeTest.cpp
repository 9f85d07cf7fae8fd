// Modification times far from now, as a file system keeps them (seconds since 1970 and a
// fraction) and not as 64 bits of nanoseconds hold them (1678 to 2262): a date from the
// modification time has its true year, or none when no name can hold the year.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/FileTimes.h"
#include "workflow/WorkflowFixture.h"

namespace {

namespace fs = std::filesystem;

// Noon (UTC) on March 1 of `year`, in seconds since 1970; years before 1 count as the
// proleptic calendar counts them.
std::int64_t NoonOfMarchFirst(int year) {
  using namespace std::chrono;
  return duration_cast<seconds>((sys_days{std::chrono::year{year} / March / 1} + hours{12}).time_since_epoch()).count();
}

struct FarCase {
  int Year;
  std::string CreationTime;  // empty: no name can hold the year
};

class FarModificationTimeTest : public WorkflowTest {
 protected:
  TempFolder far{FolderForFarTimes()};
};

TEST_F(FarModificationTimeTest, ADateFromTheModificationTimeHasItsTrueYearOrNone) {
  const fs::path clip = MakeMedia(far / "clip.mp4");
  const std::vector<FarCase> cases = {{2300, "2300-03-01T12:00:00.000000Z"}, {2605, "2605-03-01T12:00:00.000000Z"},
                                      {1677, "1677-03-01T12:00:00.000000Z"}, {1019, "1019-03-01T12:00:00.000000Z"},
                                      {12000, ""},                           {-40, ""}};
  std::vector<std::string> files;
  for (const FarCase& c : cases) {
    const fs::path file = far / ("clip" + std::to_string(c.Year) + ".mp4");
    fs::copy_file(clip, file);
    if (!SetModifiedSeconds(file, NoonOfMarchFirst(c.Year)))
      GTEST_SKIP() << "the file system of " << far.path() << " keeps no modification time in the year " << c.Year;
    files.push_back(file.string());
  }
  ChangeOptions(workflow, [](TRunOptions& o) { o.Lookup.Fallbacks.FromMtime = true; });
  workflow.SelectFiles(files);
  workflow.RenameFiles();
  for (std::size_t index = 0; index < cases.size(); ++index) {
    const TFileRow& row = workflow.Rows()[index];
    EXPECT_EQ(row.CreationTime, cases[index].CreationTime) << cases[index].Year;
    EXPECT_EQ(ResultOf(row), cases[index].CreationTime.empty() ? "skipped: date out of range" : "renamed")
        << cases[index].Year;
  }
}

}  // namespace
