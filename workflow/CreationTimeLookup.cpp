#include "workflow/CreationTimeLookup.h"

#include <chrono>
#include <optional>

#include "FFDecode/CustomDecoder.h"
#include "Text/Trim.h"
#include "platform/Text.h"
#include "workflow/CreationTime.h"
#include "workflow/CreationTimeText.h"
#include "workflow/HeaderLookup.h"
#include "workflow/PhotoDate.h"
#include "workflow/SourceCheck.h"
#include "workflow/UnsetDate.h"

namespace {

// The decoder's message names the file first; the row already does.
std::string WithoutNamePrefix(const std::string& message, const std::string& fileName) {
  const std::string prefix = fileName + ": ";
  return message.starts_with(prefix) ? message.substr(prefix.size()) : message;
}

}  // namespace

TCreationTimeLookup::TCreationTimeLookup(TCustomDecoder& decoder, ILineBuffer& lines, TLookupPath path)
    : Path(path), Decoder_(decoder), Lines_(lines) {}

bool TCreationTimeLookup::LibrariesLoaded() const { return Decoder_.LibrariesLoaded(); }

void TCreationTimeLookup::SetStopFlag(const std::atomic<bool>* stop) { Decoder_.StopFlag = stop; }

bool TCreationTimeLookup::EnsureLibraries() {
  if (Decoder_.EnsureLibraries()) return true;
  LibraryError_ = Decoder_.LastErrMsg();
  return false;
}

TRowResult TCreationTimeLookup::LookUp(const std::string& fileName, std::string& creationTime) {
  Lines_.Clear();
  creationTime.clear();
  if (!EnsureLibraries()) return rowresult::Skipped(TRowReason::CannotRead, LibraryError_);
  if (TRowResult problem = CheckSource(fileName); problem.Kind != TRowKind::None) return problem;
  if (Path == TLookupPath::HeaderFirst) {
    std::string fromHeader = CreationTimeFromHeader(Decoder_, Lines_, fileName);
    if (!text::TrimControls(fromHeader).empty()) {
      creationTime = std::move(fromHeader);
      return {};
    }
  }
  if (!Decoder_.LoadFile(platform::NarrowToWide(fileName)))
    return rowresult::Skipped(TRowReason::CannotRead, WithoutNamePrefix(Decoder_.LastErrMsg(), fileName));
  const std::string report = text::TrimControls(Decoder_.FileInfoText());
  Decoder_.CloseFile();
  creationTime = CreationTimeFromReport(Lines_, report);
  return {};
}

std::string TCreationTimeLookup::GetCreationTime(const std::string& fileName) {
  std::string creationTime;
  LookUp(fileName, creationTime);
  return creationTime;
}

// The creation time comes from the container, or else from a photo's EXIF block.
TFileRow TCreationTimeLookup::LookUpRow(const std::string& fileName) {
  TFileRow row;
  row.FileName = fileName;
  std::string creationTime;
  row.ReadProblem = LookUp(row.FileName, creationTime);
  row.CreationTime = text::TrimControls(creationTime);
  if (!row.CreationTime.empty()) {
    row.CreationTimeSource = "container metadata";
    // The information text puts one blank between "=" and the value; the value is the rest.
    row.CreationTimeRaw = creationTime.starts_with(' ') ? creationTime.substr(1) : creationTime;
  } else if (row.ReadProblem.Kind == TRowKind::None || row.ReadProblem.Reason == TRowReason::CannotRead) {
    // The media libraries read no EXIF, and some photo files (HEIF) they cannot open at all.
    std::string unreadable;
    if (std::optional<TPhotoDate> photo = ReadPhotoDate(row.FileName, &unreadable)) {
      row.ReadProblem = {};
      row.CreationTime = text::TrimControls(photo->CreationTime);
      row.CreationTimeSource = std::move(photo->Source);
      row.CreationTimeRaw = std::move(photo->RawText);
    } else if (!unreadable.empty()) {
      row.ReadProblem = rowresult::Skipped(TRowReason::CannotRead, std::move(unreadable));
    }
  }
  if (const std::optional<TCreationTime> parsed = ParseCreationTime(row.CreationTime)) {
    const auto now = std::chrono::time_point_cast<std::chrono::microseconds>(std::chrono::system_clock::now());
    row.DateLooksUnset = DateLooksUnset(*parsed, now);
  }
  return row;
}

