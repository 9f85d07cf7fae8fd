#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "workflow/naming/UniqueName.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using TOutcome = TUniquePlacement::TOutcome;

std::set<std::string> NamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(UniqueNameTest, NumbersGoBeforeTheExtension) {
  EXPECT_EQ(NumberedName("/v/2015-06-01T10_20_30.000000Z.mp4", 1), "/v/2015-06-01T10_20_30.000000Z_1.mp4");
  EXPECT_EQ(NumberedName("/v/a.tar.MOV", 12), "/v/a.tar_12.MOV");
  EXPECT_EQ(NumberedName("/v.d/clip", 2), "/v.d/clip_2");
}

TEST(UniqueNameTest, TwinsOfARenameTakeTheFirstFreeNumbers) {
  TempFolder folder;
  const std::string target = (folder / "same.mp4").string();
  folder.WriteFile("same_2.mp4", "was here before");
  std::vector<TUniquePlacement> placements;
  for (const char* name : {"a.mp4", "b.mp4", "c.mp4", "d.mp4"})
    placements.push_back(RenameToUniqueName(folder.WriteFile(name, name).string(), target));

  const std::vector<std::string> expected = {"same.mp4", "same_1.mp4", "same_3.mp4", "same_4.mp4"};
  const char* contents[] = {"a.mp4", "b.mp4", "c.mp4", "d.mp4"};
  for (std::size_t index = 0; index < placements.size(); ++index) {
    EXPECT_EQ(placements[index].Outcome, TOutcome::Placed) << placements[index].Error;
    EXPECT_EQ(placements[index].Target, (folder / expected[index]).string());
    EXPECT_EQ(ReadWholeFile(placements[index].Target), contents[index]);
  }
  EXPECT_EQ(ReadWholeFile(folder / "same_2.mp4"), "was here before");
  EXPECT_EQ(NamesIn(folder.path()),
            (std::set<std::string>{"same.mp4", "same_1.mp4", "same_2.mp4", "same_3.mp4", "same_4.mp4"}));
}

TEST(UniqueNameTest, AFileThatAlreadyHasItsNameStaysWhereItIs) {
  TempFolder folder;
  const std::string target = (folder / "same.mp4").string();
  const std::string named = folder.WriteFile("same.mp4", "first").string();
  const std::string twin = folder.WriteFile("same_1.mp4", "second").string();

  const TUniquePlacement again = RenameToUniqueName(named, target);
  EXPECT_EQ(again.Outcome, TOutcome::AlreadyThere);
  EXPECT_EQ(again.Target, named);
  // A twin renamed before finds its own numbered name, not a further one.
  const TUniquePlacement twinAgain = RenameToUniqueName(twin, target);
  EXPECT_EQ(twinAgain.Outcome, TOutcome::AlreadyThere);
  EXPECT_EQ(twinAgain.Target, twin);
  EXPECT_EQ(NamesIn(folder.path()), (std::set<std::string>{"same.mp4", "same_1.mp4"}));
}

TEST(UniqueNameTest, OtherFailuresStopAtOnce) {
  TempFolder folder;
  const std::string source = folder.WriteFile("a.mp4", "data").string();
  const TUniquePlacement placement = RenameToUniqueName(source, (folder / "no such folder" / "x.mp4").string());
  EXPECT_EQ(placement.Outcome, TOutcome::Failed);
  EXPECT_EQ(placement.Target, (folder / "no such folder" / "x.mp4").string());
  EXPECT_EQ(placement.Error, "No such file or directory");
  EXPECT_TRUE(fs::exists(source));
}

TEST(UniqueNameTest, GivesUpAfterTheLastNumber) {
  unsigned tries = 0;
  const TUniquePlacement placement =
      PlaceUnderUniqueName("/v/a.mp4", [&tries](const std::string&) {
        ++tries;
        return TResultOf<platform::NoReplaceResult>(platform::NoReplaceResult::TargetExists, "File exists");
      });
  EXPECT_EQ(tries, MaxUniqueNumber + 1);
  EXPECT_EQ(placement.Outcome, TOutcome::Failed);
  EXPECT_EQ(placement.Error, NoFreeNumberedName);
}

TEST(UniqueNameTest, RenamesRacingForOneNameEachGetTheirOwn) {
  TempFolder folder;
  fs::create_directory(folder / "in");
  constexpr int Threads = 4, FilesPerThread = 15;
  const std::string target = (folder / "same.mp4").string();
  std::vector<std::thread> threads;
  for (int thread = 0; thread < Threads; ++thread)
    threads.emplace_back([&folder, &target, thread] {
      for (int file = 0; file < FilesPerThread; ++file) {
        const std::string name = std::to_string(thread) + "-" + std::to_string(file);
        RenameToUniqueName(folder.WriteFile("in/" + name, name).string(), target);
      }
    });
  for (std::thread& thread : threads) thread.join();

  EXPECT_TRUE(fs::is_empty(folder / "in"));
  std::set<std::string> contents;
  for (int number = 0; number < Threads * FilesPerThread; ++number)
    contents.insert(ReadWholeFile(number == 0 ? fs::path(target) : fs::path(NumberedName(target, number))));
  EXPECT_EQ(contents.size(), static_cast<std::size_t>(Threads * FilesPerThread)) << "no file lost or doubled";
}

}  // namespace
