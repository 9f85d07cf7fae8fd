#include "support/Unprivileged.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

bool DropPrivileges() {
  if (geteuid() != 0) return true;
  return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
}

void WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    ssize_t put = write(fd, text.data() + done, text.size() - done);
    if (put <= 0) return;
    done += static_cast<size_t>(put);
  }
}

}  // namespace

std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body) {
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    if (!DropPrivileges()) _exit(3);
    WriteAll(channel[1], body());
    _exit(0);  // no exit handlers: the parent owns the process-wide state
  }
  close(channel[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<size_t>(got));
  close(channel[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return std::nullopt;
  return result;
}

int MakeFifo(const std::filesystem::path& path) { return ::mkfifo(path.c_str(), 0600); }
