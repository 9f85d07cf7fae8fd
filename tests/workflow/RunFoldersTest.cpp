#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workflow/undo/RunFolders.h"

namespace {

// A run that renamed files with these old paths.
TJournalRun RunOver(const std::vector<std::string>& oldPaths) {
  TJournalRun run;
  for (const std::string& path : oldPaths) {
    TJournalRecord record;
    record.OldPath = path;
    record.NewPath = path + ".new";
    run.Records.push_back(record);
  }
  return run;
}

TEST(RunFoldersTest, NamesTheFolderOrCountsTheFoldersAndTheirCommonOne) {
  EXPECT_EQ(RunFolderText(RunOver({"/v/a.mp4", "/v/b.mp4"})), "/v");
  EXPECT_EQ(RunFolderText(RunOver({"/clip.mp4"})), "/") << "a root keeps its delimiter";
  // Folders whose names start alike share only their parent.
  EXPECT_EQ(RunFolderText(RunOver({"/v/ab/a.mp4", "/v/z.mp4", "/v/ac/b.mp4", "/v/ab/c.mp4"})), "3 folders within /v");
  EXPECT_EQ(RunFolderText(RunOver({"/v/a.mp4", "/w/b.mp4"})), "2 folders") << "the root says nothing";
}

}  // namespace
