#include "bench/ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace {

// posix_spawn's file actions, released on every path.
class SpawnFileActions {
 public:
  SpawnFileActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
  ~SpawnFileActions() {
    if (ok_) posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;
  bool ok() const { return ok_; }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
  bool ok_ = false;
};

}  // namespace

int RunChild(const std::vector<std::string>& arguments, const std::string& outputFile, double& cpuSeconds,
             std::string& error) {
  cpuSeconds = 0;
  if (arguments.empty()) {
    error = "no program to run";
    return -1;
  }
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  SpawnFileActions actions;
  if (!actions.ok() || posix_spawn_file_actions_addopen(actions.get(), 1, outputFile.c_str(),
                                                        O_WRONLY | O_CREAT | O_TRUNC, 0644) != 0) {
    error = "cannot prepare the child's standard output";
    return -1;
  }
  pid_t child = 0;
  const int started = posix_spawnp(&child, argv[0], actions.get(), nullptr, argv.data(), environ);
  if (started != 0) {
    error = arguments[0] + ": " + std::strerror(started);
    return -1;
  }
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      error = std::string("wait4: ") + std::strerror(errno);
      return -1;
    }
  }
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  if (!WIFEXITED(status)) {
    error = arguments[0] + " did not exit normally";
    return -1;
  }
  return WEXITSTATUS(status);
}
