#include "cli/OpenMediaFile.h"

#include "FFDecode/CustomDecoder.h"
#include "cli/Diagnostic.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

bool OpenMediaFile(const std::string& fileName, TCustomDecoder& decoder, std::ostream& err) {
  const std::u16string wideName = platform::NarrowToWide(fileName);
  platform::FileStatus status;
  if (platform::GetFileStatus(wideName, status) && !status.isRegularFile && !status.isDirectory) {
    Diagnose(err, fileName, "not a regular file");
    return false;
  }
  if (!decoder.LoadFile(wideName)) {
    // A stop is no failure of the file: nothing more is said.
    if (decoder.StopRequested()) return false;
    // The decoder's message names the file first; the diagnostic's subject does that.
    const std::string message = decoder.LastErrMsg();
    const std::string prefix = fileName + ": ";
    Diagnose(err, fileName, message.starts_with(prefix) ? message.substr(prefix.size()) : message);
    return false;
  }
  return true;
}
