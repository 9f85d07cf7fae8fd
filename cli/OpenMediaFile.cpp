#include "cli/OpenMediaFile.h"

#include "FFDecode/CustomDecoder.h"
#include "cli/Diagnostic.h"
#include "platform/FileSystem.h"

bool OpenMediaFile(const std::string& fileName, TCustomDecoder& decoder, std::ostream& err) {
  platform::FileStatus status;
  if (platform::GetFileStatus(fileName, status) && !status.isRegularFile && !status.isDirectory) {
    Diagnose(err, fileName, "not a regular file");
    return false;
  }
  if (!decoder.LoadFile(fileName)) {
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
