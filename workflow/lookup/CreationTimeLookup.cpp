#include "workflow/lookup/CreationTimeLookup.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "FFDecode/CustomDecoder.h"
#include "Text/Trim.h"
#include "workflow/dates/Camera.h"
#include "workflow/dates/ContainerDates.h"
#include "workflow/dates/CreationTime.h"
#include "workflow/lookup/CreationTimeText.h"
#include "workflow/lookup/HeaderLookup.h"
#include "workflow/dates/NameAndFileDates.h"
#include "workflow/dates/PhotoDate.h"
#include "workflow/dates/PngDate.h"
#include "workflow/rows/SourceCheck.h"
#include "workflow/dates/UnsetDate.h"

namespace {

// The decoder's message names the file first; the row already does.
std::string WithoutNamePrefix(const std::string& message, const std::string& fileName) {
  const std::string prefix = fileName + ": ";
  return message.starts_with(prefix) ? message.substr(prefix.size()) : message;
}

}  // namespace

TCreationTimeLookup::TCreationTimeLookup(TCustomDecoder& decoder, ILineBuffer& lines, TLookupOptions options)
    : Options(options), Decoder_(decoder), Lines_(lines) {}

bool TCreationTimeLookup::LibrariesLoaded() const { return Decoder_.LibrariesLoaded(); }

void TCreationTimeLookup::SetStopFlag(const std::atomic<bool>* stop) { Decoder_.StopFlag = stop; }

bool TCreationTimeLookup::EnsureLibraries() {
  if (Decoder_.EnsureLibraries()) return true;
  LibraryError_ = Decoder_.LastErrMsg();
  return false;
}

TRowResult TCreationTimeLookup::LookUp(const std::string& fileName, std::string& creationTime,
                                       std::vector<TFileDate>& containerDates, TCamera& camera) {
  Lines_.Clear();
  creationTime.clear();
  containerDates.clear();
  camera = {};
  if (!EnsureLibraries()) return rowresult::Skipped(TRowReason::CannotRead, LibraryError_);
  if (TRowResult problem = CheckSource(fileName); problem.Kind != TRowKind::None) return problem;
  if (Options.Path == TLookupPath::HeaderFirst) {
    std::string fromHeader = CreationTimeFromHeader(Decoder_, fileName, containerDates, &camera);
    if (!text::TrimControls(fromHeader).empty()) {
      creationTime = std::move(fromHeader);
      return {};
    }
  }
  if (!Decoder_.LoadFile(fileName))
    return rowresult::Skipped(TRowReason::CannotRead, WithoutNamePrefix(Decoder_.LastErrMsg(), fileName));
  const std::string report = text::TrimControls(Decoder_.FileInfoText());
  containerDates = ContainerDates(Decoder_.FormatContext());
  camera = ContainerCamera(Decoder_.FormatContext());
  Decoder_.CloseFile();
  creationTime = CreationTimeFromReport(Lines_, report);
  return {};
}

std::string TCreationTimeLookup::GetCreationTime(const std::string& fileName) {
  std::string creationTime;
  std::vector<TFileDate> containerDates;
  TCamera camera;
  LookUp(fileName, creationTime, containerDates, camera);
  return creationTime;
}

// The creation time comes from the container's creation_time as stored; when it holds none,
// from the first of the other dates the file holds, and then from the fallbacks asked for.
TFileRow TCreationTimeLookup::LookUpRow(const std::string& fileName) {
  TFileRow row;
  row.FileName = fileName;
  std::string creationTime;
  std::vector<TFileDate> containerDates;
  row.ReadProblem = LookUp(row.FileName, creationTime, containerDates, row.Camera);
  row.CreationTime = text::TrimControls(creationTime);
  // Each candidate: the date as listed and the text it gives as creation time.
  std::vector<std::pair<TFileDate, std::string>> candidates;
  if (!row.CreationTime.empty())
    // The information text puts one blank between "=" and the value; the value is the rest.
    candidates.push_back({{"container metadata", creationTime.starts_with(' ') ? creationTime.substr(1) : creationTime,
                           ParseCreationTime(row.CreationTime)},
                          row.CreationTime});
  for (TFileDate& date : containerDates) {
    if (date.Source == "com.apple.quicktime.creationdate" && date.Time && !date.Time->WrittenAsUtc)
      row.RecordedOffsetSeconds = date.Time->OffsetSeconds;
    std::string used = IsUsableContainerDate(date) ? text::TrimControls(date.Text) : std::string();
    candidates.push_back({std::move(date), std::move(used)});
  }
  // Files the libraries could not open may still be photos with a date of their own.
  const bool readable = row.ReadProblem.Kind == TRowKind::None || row.ReadProblem.Reason == TRowReason::CannotRead;
  const auto found = [&candidates] {
    return std::any_of(candidates.begin(), candidates.end(), [](const auto& candidate) { return !candidate.second.empty(); });
  };
  if (readable && (Options.Fallbacks.ListAll || !found())) {
    // The media libraries read no EXIF, and some photo files (HEIF) they cannot open at all.
    std::string unreadable;
    if (std::optional<TPhotoDate> photo = ReadPhotoDate(row.FileName, &unreadable, Decoder_.StopFlag)) {
      if (!row.RecordedOffsetSeconds) row.RecordedOffsetSeconds = photo->Time.OffsetSeconds;
      if (row.Camera.Make.empty() && row.Camera.Model.empty()) row.Camera = photo->Camera;
      candidates.push_back({{photo->Source, photo->RawText, photo->Time}, photo->CreationTime});
    } else if (!unreadable.empty()) {
      // A photo that this build cannot read says what is missing, unless another reader finds a date.
      row.ReadProblem = rowresult::Skipped(TRowReason::CannotRead, std::move(unreadable));
    }
    if (std::optional<TFileDate> png = ReadPngDate(row.FileName, Decoder_.StopFlag)) candidates.push_back({*png, png->Text});
  }
  if (readable && Options.Fallbacks.FromName && (Options.Fallbacks.ListAll || !found()))
    if (std::optional<TFileDate> named = DateFromFileName(row.FileName)) candidates.push_back({*named, named->Text});
  bool mtimeOutOfRange = false;
  if (readable && Options.Fallbacks.FromMtime && (Options.Fallbacks.ListAll || !found())) {
    TModificationDate written = DateFromModificationTime(row.FileName);
    if (written.Date) candidates.push_back({*written.Date, written.Date->Text});
    mtimeOutOfRange = written.OutOfRange;
  }

  for (auto& [date, used] : candidates) {
    if (row.CreationTimeSource.empty() && !used.empty()) {
      row.CreationTime = used;
      row.Time = date.Time;
      row.CreationTimeSource = date.Source;
      row.CreationTimeRaw = date.Text;
      // Another reader found what the media libraries could not.
      if (row.ReadProblem.Reason == TRowReason::CannotRead) row.ReadProblem = {};
    }
    row.Dates.push_back(std::move(date));
  }
  row.DateOutOfRange = mtimeOutOfRange && row.CreationTimeSource.empty();
  // A date was found after all, only none that a name can hold.
  if (row.DateOutOfRange && row.ReadProblem.Reason == TRowReason::CannotRead) row.ReadProblem = {};
  if (row.Time) {
    const auto now = std::chrono::time_point_cast<std::chrono::microseconds>(std::chrono::system_clock::now());
    row.DateLooksUnset = DateLooksUnset(*row.Time, now);
  }
  return row;
}

