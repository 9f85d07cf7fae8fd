// One creation-time lookup: a decoder, a line buffer for its information text and the way
// to read it, with the photo fallback and the check for unset clocks. A worker thread holds
// one and nothing more; the renaming workflow holds one for its own lookups.
#pragma once
#include <atomic>
#include <string>

#include "workflow/FileRow.h"
#include "workflow/LineBuffer.h"
#include "workflow/LookupPath.h"
#include "workflow/RowResult.h"

class TCustomDecoder;

class TCreationTimeLookup {
 public:
  // The decoder and the line buffer are used, not owned; both must outlive the lookup.
  TCreationTimeLookup(TCustomDecoder& decoder, ILineBuffer& lines, TLookupPath path = TLookupPath::FullProbe);
  TCreationTimeLookup(const TCreationTimeLookup&) = delete;
  TCreationTimeLookup& operator=(const TCreationTimeLookup&) = delete;

  // Loads the media libraries unless they are loaded (TCustomDecoder::EnsureLibraries);
  // each lookup does this itself, and a failed load is retried next time.
  bool EnsureLibraries();
  bool LibrariesLoaded() const;
  // The loader's message of the last failed load; empty when none failed.
  const std::string& LibraryError() const { return LibraryError_; }
  // Once `stop` turns true, the decoder's reads end at once, so that a lookup under way
  // stops. Null: lookups are not stopped.
  void SetStopFlag(const std::atomic<bool>* stop);

  // The raw value behind the container-level creation_time entry (it may begin with a
  // blank), or empty. Leaves the processed information text in the line buffer (with
  // HeaderFirst: the processed metadata block when the header gave the creation time).
  std::string GetCreationTime(const std::string& fileName);
  // The row of one file: its creation time from the container, or else from a photo's
  // EXIF block, where it came from, and whether its date looks unset.
  TFileRow LookUpRow(const std::string& fileName);

  TLookupPath Path;

 private:
  // The creation time of `fileName` into `creationTime`; the result says why the file
  // could not be read (kind None when it could).
  TRowResult LookUp(const std::string& fileName, std::string& creationTime);

  TCustomDecoder& Decoder_;
  ILineBuffer& Lines_;
  std::string LibraryError_;
};
