// Moves and copies that never replace (FileSystem.h): the system call itself refuses a taken
// name and says so apart from other failures, so that a caller may try another name; a
// refused call leaves both files as they were. Names are UTF-8 on every system.
#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <string>

#include "platform/FileSystem.h"
#include "platform/FolderNames.h"
#include "support/Succeeded.h"
#include "support/TempFolder.h"

namespace {

using platform::NoReplaceResult;

// Non-ASCII in three scripts and beyond the first plane, which UTF-16 writes as a pair.
constexpr char kFarName[] = "Ωμέγα 夏 🎥.mp4";

TEST(MoveNoReplaceTest, AFileMovesToAFreeNameOfAnyScript) {
  const TempFolder folder;
  const std::string from = Utf8(folder.WriteFile("clip ü.mp4", "clip"));
  ASSERT_TRUE(Succeeded(platform::MoveNoReplace(from, Utf8(folder / kFarName))));
  EXPECT_EQ(NamesIn(folder.path()), FolderNames{kFarName});
  EXPECT_EQ(ReadWholeFile(folder / kFarName), "clip");
}

// Windows lets a file move onto its own name; the contract finds that name taken too.
TEST(MoveNoReplaceTest, AFileFindsItsOwnNameTaken) {
  const TempFolder folder;
  const std::string path = Utf8(folder.WriteFile(kFarName, "clip"));
  EXPECT_EQ(platform::MoveNoReplace(path, path).Kind(), NoReplaceResult::TargetExists);
  EXPECT_EQ(ReadWholeFile(folder / kFarName), "clip");
}

// Any other failure is no taken name: a caller that tried the next name would never end.
TEST(MoveNoReplaceTest, AMissingSourceFailsWithTheSystemsMessage) {
  const TempFolder folder;
  const auto moved = platform::MoveNoReplace(Utf8(folder / "missing.mp4"), Utf8(folder / kFarName));
  EXPECT_EQ(moved.Kind(), NoReplaceResult::Failed);
  EXPECT_EQ(moved.ErrorNumber(), ENOENT);
  EXPECT_EQ(moved.Message(), platform::ErrorText(ENOENT));
  EXPECT_EQ(NamesIn(folder.path()), FolderNames{});
}

TEST(CopyNoReplaceTest, ACopyGetsAFreeNameOfAnyScriptAndTheSourceStays) {
  const TempFolder folder;
  const std::string from = Utf8(folder.WriteFile("clip ü.mp4", "clip"));
  ASSERT_TRUE(Succeeded(platform::CopyNoReplace(from, Utf8(folder / kFarName))));
  EXPECT_EQ(ReadWholeFile(folder / kFarName), "clip");
  EXPECT_EQ(ReadWholeFile(folder / "clip ü.mp4"), "clip");
}

// A move or a copy that never replaces.
struct NoReplaceCall {
  const char* name;
  TResultOf<NoReplaceResult> (*call)(const std::string& from, const std::string& to);
};
void PrintTo(const NoReplaceCall& call, std::ostream* out) { *out << call.name; }

class TakenName : public ::testing::TestWithParam<NoReplaceCall> {};

// A copy is written before its name is tried: a refused name must take it away again.
TEST_P(TakenName, IsToldApartAndBothFilesStayAsTheyWere) {
  const TempFolder folder;
  const std::string from = Utf8(folder.WriteFile("clip.mp4", "clip"));
  const std::string to = Utf8(folder.WriteFile(kFarName, "taken"));
  const auto placed = GetParam().call(from, to);
  EXPECT_EQ(placed.Kind(), NoReplaceResult::TargetExists);
  EXPECT_EQ(placed.Message(), platform::ErrorText(EEXIST));
  EXPECT_EQ(ReadWholeFile(folder / "clip.mp4"), "clip");
  EXPECT_EQ(ReadWholeFile(folder / kFarName), "taken");
  EXPECT_EQ(NamesIn(folder.path()), (FolderNames{"clip.mp4", kFarName})) << "nothing else is left";
}

INSTANTIATE_TEST_SUITE_P(
    MoveAndCopy, TakenName,
    ::testing::Values(NoReplaceCall{"Move", &platform::MoveNoReplace},
                      NoReplaceCall{"Copy",
                                    [](const std::string& from, const std::string& to) {
                                      return platform::CopyNoReplace(from, to);
                                    }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
