// The camera a file names, read with its date from real files made at test time, and a run
// that names files by camera and corrects one camera's clock.
#include <gtest/gtest.h>

#include <filesystem>

#include "workflow/PhotoFactory.h"
#include "workflow/WorkflowFixture.h"
#include "workflow/options/NamingRequest.h"

namespace {

namespace fs = std::filesystem;

// A short clip (format by extension) with a creation time and `metadata` beside it.
fs::path MakeClip(const fs::path& output, std::vector<std::string> metadata, std::vector<std::string> extra = {}) {
  MediaSpec spec = AudioOnly();
  spec.metadata = std::move(metadata);
  spec.metadata.push_back("creation_time=2021-04-10T10:44:00Z");
  spec.extra = std::move(extra);
  return MakeMedia(output, spec);
}

class CameraTest : public WorkflowTest {
 protected:
  void SetUp() override {
    WorkflowTest::SetUp();
    // QuickTime's user data, a phone's own keys, Matroska's tags, a photo's EXIF block.
    files = {MakeClip(folder / "a.mov", {"make=Acme", "model=Cam 1"}).string(),
             MakeClip(folder / "b.mp4", {"com.apple.quicktime.make=Apple", "com.apple.quicktime.model=iPhone 12"},
                      {"-movflags", "use_metadata_tags"})
                 .string(),
             MakeClip(folder / "c.mkv", {"make=Acme", "model=Cam 2"}).string(),
             MakeJpegWithExif(folder / "d.jpg", {{EXIF_TAG_DATE_TIME_ORIGINAL, "2021:04:10 10:44:00"},
                                                 {EXIF_TAG_MAKE, "Canon"},
                                                 {EXIF_TAG_MODEL, "Canon EOS 5D"}})
                 .string(),
             MakeClip(folder / "e.mov", {}).string()};
  }
  std::vector<std::string> files;
};

TEST_F(CameraTest, MakeAndModelAreReadWithTheDateOnEitherLookupPath) {
  const std::vector<TCamera> expected = {
      {"Acme", "Cam 1"}, {"Apple", "iPhone 12"}, {"Acme", "Cam 2"}, {"Canon", "Canon EOS 5D"}, {"", ""}};
  for (const TLookupPath path : {TLookupPath::HeaderFirst, TLookupPath::FullProbe}) {
    ChangeOptions(workflow, [path](TRunOptions& options) { options.Lookup.Path = path; });
    workflow.SelectFiles(files);
    ASSERT_EQ(workflow.Rows().size(), expected.size());
    for (std::size_t index = 0; index < expected.size(); ++index)
      EXPECT_EQ(workflow.Rows()[index].Camera, expected[index]) << files[index];
  }
}

TEST_F(CameraTest, ARunNamesByCameraAndCountsAndShiftsOneCamerasClock) {
  TNamingRequest request;
  request.Format = "%H%M_%{model|NoModel}_%{name}_%{counter:2}";
  request.Shift = "+0:30";
  request.ShiftFor = {"Cam 1=-1:00"};
  TNamingProblem problem;
  const std::optional<TRunOptions> options = RunOptionsOf(request, problem);
  ASSERT_TRUE(options) << problem.Why;
  workflow.SetOptions(*options);
  workflow.SelectFiles(files);
  workflow.RenameFiles(TRunMode::Real);
  for (const char* name : {"0944_Cam 1_a_01.mov", "1114_iPhone 12_b_02.mp4", "1114_Cam 2_c_03.mkv",
                           "1114_Canon EOS 5D_d_04.jpg", "1114_NoModel_e_05.mov"})
    EXPECT_TRUE(fs::exists(folder / name)) << name;
}

TEST(NamingRequestShiftTest, AnAmountThatIsNoneNamesItsOption) {
  TNamingProblem problem;
  TNamingRequest request;
  request.Shift = "1h";
  EXPECT_FALSE(RunOptionsOf(request, problem));
  EXPECT_EQ(problem.Option, TNamingProblem::TOption::Shift);
  request.Shift.clear();
  for (const char* entry : {"Cam 1", "=1:00", "Cam 1=1h"}) {
    request.ShiftFor = {entry};
    EXPECT_FALSE(RunOptionsOf(request, problem)) << entry;
    EXPECT_EQ(problem.Option, TNamingProblem::TOption::ShiftFor) << entry;
  }
}

}  // namespace
