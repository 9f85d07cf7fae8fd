#include "support/TestVolume.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

// The exit status of `arguments`, whose program is looked up in the system folders first
// (they are missing from some PATHs) and then in PATH; `output` (may be null) gets what it
// writes to standard output, the rest is dropped. -1 when it did not run or end normally.
int Run(std::vector<std::string> arguments, std::string* output = nullptr) {
  for (const char* folder : {"/usr/sbin/", "/sbin/", "/usr/bin/", "/bin/"})
    if (::access((folder + arguments[0]).c_str(), X_OK) == 0) {
      arguments[0] = folder + arguments[0];
      break;
    }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(output ? pipe[1] : null, 1);
    ::dup2(null, 2);
    ::execvp(argv[0], argv.data());
    _exit(127);
  }
  ::close(pipe[1]);
  char buffer[256];
  for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
    if (output) output->append(buffer, static_cast<std::size_t>(got));
  ::close(pipe[0]);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

TestVolume::TestVolume(TVolumeKind kind) {
  if (::geteuid() != 0) {
    problem_ = "mounting a file system image takes root";
    return;
  }
  const std::string image = (image_.path() / "image").string();
  std::filesystem::create_directory(Root());
  std::filesystem::resize_file(image_.WriteFile("image", ""), 64 << 20);
  mounted_ = Mount(kind, image);
}

bool TestVolume::Mount(TVolumeKind kind, const std::string& image) {
  const std::string root = Root().string();
  const auto made = [&](std::vector<std::string> mkfs) {
    const std::string program = mkfs.front();
    if (const int status = Run(std::move(mkfs)); status != 0) {
      problem_ = program + " failed (status " + std::to_string(status) + ")";
      return false;
    }
    return true;
  };
  switch (kind) {
    case TVolumeKind::Ext4:
    case TVolumeKind::NarrowTimeExt4: {
      std::vector<std::string> mkfs{"mkfs.ext4", "-q", "-F"};
      if (kind == TVolumeKind::NarrowTimeExt4) mkfs.insert(mkfs.end(), {"-I", "128"});
      mkfs.push_back(image);
      if (!made(std::move(mkfs))) return false;
      description_ = "ext4";
      if (Run({"mount", "-o", "loop", image, root}) == 0) return true;
      break;
    }
    case TVolumeKind::Vfat:
      if (!made({"mkfs.vfat", image})) return false;
      description_ = "vfat";
      if (Run({"mount", "-t", "vfat", "-o", "loop", image, root}) == 0) return true;
      description_ = "vfat (FUSE)";
      if (Run({"fusefat", "-o", "rw+", image, root}) == 0) return true;
      break;
    case TVolumeKind::Exfat: {
      if (!made({"mkfs.exfat", image})) return false;
      description_ = "exfat";
      if (Run({"mount", "-t", "exfat", "-o", "loop", image, root}) == 0) return true;
      // The FUSE driver takes a block device, not an image.
      description_ = "exfat (FUSE)";
      std::string device;
      if (Run({"losetup", "--find", "--show", image}, &device) != 0) break;
      loopDevice_ = device.substr(0, device.find('\n'));
      if (Run({"mount.exfat-fuse", loopDevice_, root}) == 0) return true;
      break;
    }
  }
  problem_ = "cannot mount " + description_ + " here";
  return false;
}

TestVolume::~TestVolume() {
  // A file still open there would keep the volume busy: then it goes once that closes.
  if (mounted_ && Run({"umount", Root().string()}) != 0) Run({"umount", "-l", Root().string()});
  if (!loopDevice_.empty()) Run({"losetup", "-d", loopDevice_});
}
