// Lookups on several threads at once, on real files through the real media libraries, and
// the shared pieces they touch. Labelled "thread": it also runs under ThreadSanitizer,
// which checks every access of our own (the media libraries are not instrumented).
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "FFLoad/FFLoad.h"
#include "UnicodeProtocol/UnicodeProtocol.h"
#include "support/LookupMedia.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"
#include "workflow/lookup/LineBuffer.h"
#include "workflow/lookup/LookupPool.h"
#include "workflow/RenamingWorkflow.h"
#include "workflow/rows/RowResultText.h"

namespace {

std::vector<std::string> Fields(const std::vector<TFileRow>& rows) {
  std::vector<std::string> fields;
  for (const TFileRow& row : rows)
    fields.push_back(row.FileName + "|" + row.CreationTime + "|" + RowResultText(row.ReadProblem));
  return fields;
}

TEST(LookupThreadTest, WorkersOnRealFilesGiveTheRowsOfOneThread) {
  RequireMediaLibraries();
  TempFolder folder;
  std::vector<std::string> names = MakeLookupMedia(folder.path());
  // Each file several times, so that the workers meet on the same kinds of file.
  const std::size_t distinct = names.size();
  for (int round = 0; round < 3; ++round) names.insert(names.end(), names.begin(), names.begin() + distinct);

  TFFDecoder decoder;
  TVectorLineBuffer lines;
  TRenamingWorkflow sequential(decoder, lines);
  sequential.SelectFiles(names);
  const auto expected = Fields(sequential.Rows());
  for (TLookupPath path : {TLookupPath::HeaderFirst, TLookupPath::FullProbe})
    EXPECT_EQ(Fields(LookUpRowsOnWorkers(names, 4, {path, {}}, nullptr)), expected) << static_cast<int>(path);
}

TEST(LookupThreadTest, EachRowIsHandedOnAsCollected) {
  RequireMediaLibraries();
  TempFolder folder;
  const std::vector<std::string> names = MakeLookupMedia(folder.path());
  TFFDecoder decoder;
  TVectorLineBuffer lines;
  TRenamingWorkflow workflow(decoder, lines);
  TRunOptions options;
  options.Workers = 3;
  options.Lookup.Path = TLookupPath::HeaderFirst;
  workflow.SetOptions(options);
  std::vector<TFileRow> handed;
  std::vector<std::size_t> progressSeen;
  workflow.OnProgress = [&](std::size_t index, std::size_t, const std::string&) {
    // A row is handed on before the progress of the next row is announced.
    EXPECT_EQ(handed.size(), index);
    progressSeen.push_back(index);
  };
  workflow.OnRowRead = [&](const TFileRow& row) { handed.push_back(row); };
  workflow.SelectFiles(names);
  EXPECT_EQ(Fields(handed), Fields(workflow.Rows()));
  EXPECT_EQ(progressSeen.size(), names.size());
}

TEST(LookupThreadTest, EachThreadKeepsItsOwnMappedName) {
  // Each thread maps its own name over and over and must always read back its own bytes.
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int thread = 0; thread < 4; ++thread) {
    threads.emplace_back([thread, &mismatches] {
      const std::string name = "/v/clip-" + std::to_string(thread) + ".mp4";
      const std::u16string wide(name.begin(), name.end());
      for (int round = 0; round < 2000; ++round) {
        const char* mapped = MapFileNameForOpen(wide);
        std::this_thread::yield();
        if (!mapped || name != mapped) ++mismatches;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches.load(), 0);
}

TEST(LookupThreadTest, LoaderStateCanBeAskedWhileAnotherThreadLoads) {
  // Needs nothing but the C library, which the loader binds like the media libraries.
  FFLoader().UnloadLib(liCRuntime);
  std::atomic<bool> stop{false};
  std::atomic<int> seenLoaded{0};
  std::thread asker([&] {
    while (!stop) {
      if (FFLoader().IsLoaded(liCRuntime)) ++seenLoaded;
      (void)FFLoader().LastErrMsg();
      (void)FFLoader().LibraryPath();
    }
  });
  for (int round = 0; round < 50; ++round) {
    ASSERT_TRUE(FFLoader().LoadLib(liCRuntime)) << FFLoader().LastErrMsg();
    if (round + 1 < 50) FFLoader().UnloadLib(liCRuntime);
  }
  stop = true;
  asker.join();
  EXPECT_TRUE(FFLoader().IsLoaded(liCRuntime));
}

}  // namespace
