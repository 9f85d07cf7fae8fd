#include "support/NarrowTimeVolume.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

// The exit status of `arguments`, whose program is looked up in the system folders first
// (they are missing from some PATHs) and then in PATH; its output is dropped. -1 when it
// did not run or end normally.
int RunQuietly(std::vector<std::string> arguments) {
  for (const char* folder : {"/usr/sbin/", "/sbin/", "/usr/bin/", "/bin/"})
    if (::access((folder + arguments[0]).c_str(), X_OK) == 0) {
      arguments[0] = folder + arguments[0];
      break;
    }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, 1), ::dup2(null, 2);
    ::execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

NarrowTimeVolume::NarrowTimeVolume() {
  if (::geteuid() != 0) {
    problem_ = "mounting a file system image takes root";
    return;
  }
  const std::string image = (image_.path() / "image").string();
  std::filesystem::create_directory(Root());
  std::filesystem::resize_file(image_.WriteFile("image", ""), 4 << 20);
  if (const int status = RunQuietly({"mkfs.ext4", "-q", "-F", "-I", "128", image}); status != 0) {
    problem_ = "mkfs.ext4 -I 128 failed (status " + std::to_string(status) + ")";
    return;
  }
  if (const int status = RunQuietly({"mount", "-o", "loop", image, Root().string()}); status != 0) {
    problem_ = "cannot mount a loop device here (mount: status " + std::to_string(status) + ")";
    return;
  }
  mounted_ = true;
}

NarrowTimeVolume::~NarrowTimeVolume() {
  // A file still open there would keep the volume busy: then it goes once that closes.
  if (mounted_ && RunQuietly({"umount", Root().string()}) != 0) RunQuietly({"umount", "-l", Root().string()});
}
