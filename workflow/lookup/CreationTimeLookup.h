// One creation-time lookup: a decoder, a line buffer for its information text and the way
// to read it, with the photo fallback and the check for unset clocks. A worker thread holds
// one and nothing more; the renaming workflow holds one for its own lookups.
#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "workflow/dates/Camera.h"
#include "workflow/rows/FileRow.h"
#include "workflow/lookup/LineBuffer.h"
#include "workflow/lookup/LookupOptions.h"
#include "workflow/rows/RowResult.h"

class TCustomDecoder;

class TCreationTimeLookup {
 public:
  // The decoder and the line buffer are used, not owned; both must outlive the lookup.
  TCreationTimeLookup(TCustomDecoder& decoder, ILineBuffer& lines, TLookupOptions options = {});
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
  // HeaderFirst, when the header gave the creation time, the buffer stays empty: no
  // report was written).
  std::string GetCreationTime(const std::string& fileName);
  // The row of one file: its creation time from the container's creation_time as stored,
  // or else from the first of the file's other dates (ContainerDates, a photo's EXIF
  // block, a PNG's tIME chunk) and then from the fallbacks that Options asks for; where it
  // came from, every date found, and whether the date looks unset.
  TFileRow LookUpRow(const std::string& fileName);

  TLookupOptions Options;

 private:
  // The creation time of `fileName` into `creationTime`; the result says why the file
  // could not be read (kind None when it could). `containerDates` receives the container's
  // other dates (ContainerDates), `camera` the camera it names.
  TRowResult LookUp(const std::string& fileName, std::string& creationTime, std::vector<TFileDate>& containerDates,
                    TCamera& camera);

  TCustomDecoder& Decoder_;
  ILineBuffer& Lines_;
  std::string LibraryError_;
};
