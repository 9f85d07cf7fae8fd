// The copies of one batch of a copy run: each written beside its target (on worker threads
// where there are several), then all made durable in one pass, before the run names them.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/StagedCopy.h"
#include "platform/TargetFolders.h"
#include "workflow/run/CopyRun.h"

struct TPendingCopy {
  std::size_t Row = 0;                     // the row's index in the run
  std::string Source;                      // the file to copy
  // A companion of the row's file, copied with it; the row's own copy comes first.
  bool Companion = false;
  TCopyOutcome Planned;                    // the plan's name for the copy
  // For the first companion of a row whose own bytes were at the target already: the row's
  // skip, which stands once the companions are named.
  TRowResult OwnSkip;
  std::optional<std::int64_t> Mtime;       // the modification time to give the copy, if any
  std::vector<platform::MadeFolder> MadeFolders;  // made for the copy's name
  // The folder the copy goes into, held from before it is written until it is named;
  // shared by the copies of a batch that go into the same folder.
  std::shared_ptr<platform::TargetFolder> Folder;
  platform::StagedCopy Staged;             // written and durable once WriteAndSync succeeded
  std::string Error;                       // why the copy could not be written or made durable
  std::string MtimeError;                  // why the copy did not take Mtime; it is kept all the same
};

// Writes every copy's Source on up to `workers` threads, then makes them durable
// one after another (by then the disk has most of the data). A copy that fails keeps its
// message in Error and leaves no temporary file. Once `stop` turns true, no further copy is
// written.
// `onWritten` (may be empty) is called on the calling thread while the copies are written,
// with the bytes written so far in the batch.
using TBytesWrittenEvent = std::function<void(std::uint64_t written)>;
void WriteAndSync(std::vector<TPendingCopy>& copies, unsigned workers, const std::atomic<bool>* stop,
                  const TBytesWrittenEvent& onWritten = {});
