#include "workflow/rows/SourceCheck.h"

#include <cerrno>

#include "platform/FileSystem.h"

TRowResult CheckSource(const std::string& fileName) {
  platform::FileStatus status;
  const int error = platform::QueryFileStatus(fileName, status);
  if (error == ENOENT || error == ENOTDIR) return rowresult::Skipped(TRowReason::NotFound);
  if (error != 0) return rowresult::Skipped(TRowReason::CannotRead, platform::ErrorText(error));
  if (status.isDirectory) return rowresult::Skipped(TRowReason::Folder);
  if (!status.isRegularFile) return rowresult::Skipped(TRowReason::NotRegularFile);
  return {};
}
