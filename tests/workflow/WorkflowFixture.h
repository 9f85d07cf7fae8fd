// A workflow over a real decoder and real files in a fresh folder.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "workflow/lookup/LineBuffer.h"
#include "workflow/RenamingWorkflow.h"
#include "workflow/rows/RowResultText.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

// The row's result in the words the window and the command line show.
inline std::string ResultOf(const TFileRow& row) { return RowResultText(row.Result); }

// Changes some of the workflow's run options and keeps the others.
template <typename TChange>
void ChangeOptions(TRenamingWorkflow& workflow, TChange change) {
  TRunOptions options = workflow.Options();
  change(options);
  workflow.SetOptions(std::move(options));
}

class WorkflowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(workflow.EnsureLibraries()) << workflow.LibraryError(); }

  // The path in the test's folder as the narrow name the workflow takes.
  std::string PathOf(const std::string& relative) const { return (folder / relative).string(); }

  TempFolder folder;
  TFFDecoder decoder;
  TVectorLineBuffer lines;
  TRenamingWorkflow workflow{decoder, lines};
};

// A workflow test with a folder "out" to copy into.
class CopyFolderTest : public WorkflowTest {
 protected:
  void SetUp() override {
    WorkflowTest::SetUp();
    std::filesystem::create_directory(out);
  }
  std::filesystem::path out = folder / "out";
};

// A short FLAC clip whose container carries creation_time=`value` exactly as given: the
// format stores keys and values without parsing them. Works for names without extension.
// Clips with different titles differ in their bytes.
inline std::filesystem::path MakeClipWithCreationTime(const std::filesystem::path& output, const std::string& value,
                                                      const std::string& title = "") {
  MediaSpec spec = AudioOnly();
  spec.metadata.push_back("creation_time=" + value);
  if (!title.empty()) spec.metadata.push_back("title=" + title);
  spec.extra = {"-f", "flac"};
  return MakeMedia(output, spec);
}

// Every file and folder below `root` (relative path -> content, "<dir>" for folders and
// "<other>" for pipes and the like), so that a test sees anything that appeared, vanished
// or changed, temporary files included.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string name = std::filesystem::relative(entry.path(), root).string();
    entries[name] = entry.is_directory()      ? std::string("<dir>")
                    : entry.is_regular_file() ? ReadWholeFile(entry.path())
                                              : std::string("<other>");
  }
  return entries;
}

// True when an unprivileged user (see RunUnprivileged) can look into the test's folder:
// a checkout in a private home folder cannot host the permission tests.
bool ReachableUnprivileged(const TempFolder& folder);
