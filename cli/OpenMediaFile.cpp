#include "cli/OpenMediaFile.h"

#include "FFDecode/CustomDecoder.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

bool OpenMediaFile(const std::string& fileName, TCustomDecoder& decoder, std::ostream& err) {
  const std::u16string wideName = platform::NarrowToWide(fileName);
  platform::FileStatus status;
  if (platform::GetFileStatus(wideName, status) && !status.isRegularFile && !status.isDirectory) {
    err << fileName << ": not a regular file\n";
    return false;
  }
  if (!decoder.LoadFile(wideName)) {
    // A stop is no failure of the file: nothing more is said.
    if (!decoder.StopRequested()) err << decoder.LastErrMsg() << '\n';
    return false;
  }
  return true;
}
