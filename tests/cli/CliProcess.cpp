#include "cli/CliProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/TempFolder.h"

namespace {

// In the forked child: only async-signal-safe calls until exec.
[[noreturn]] void ExecChild(std::vector<std::string> all, const CliOptions& options, const std::string& outPath,
                            const std::string& errPath, const char* terminalName) {
  std::vector<char*> argv;
  for (auto& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const int in = ::open("/dev/null", O_RDONLY);
  const int out = options.bothOnTerminal && terminalName ? ::open(terminalName, O_RDWR | O_NOCTTY)
                                                         : ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = terminalName ? ::open(terminalName, O_RDWR | O_NOCTTY) : ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(126);
  if (!options.workingFolder.empty() && ::chdir(options.workingFolder.c_str()) != 0) ::_exit(126);
  if (options.fileSizeLimit >= 0) {
    const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit), static_cast<rlim_t>(options.fileSizeLimit)};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
  }
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

}  // namespace

CliChild::CliChild(const std::vector<std::string>& arguments, const std::string& program, const CliOptions& options) {
  char folder[] = "/tmp/morvane-cli-capture-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return;
  captureFolder_ = folder;
  outputCaptured_ = options.outputFile.empty() && !options.bothOnTerminal;
  outPath_ = outputCaptured_ ? captureFolder_ + "/out" : options.outputFile;
  errPath_ = captureFolder_ + "/err";
  const char* terminalName = nullptr;
  if (options.errorOnTerminal || options.bothOnTerminal) {
    terminal_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal_ < 0 || ::grantpt(terminal_) != 0 || ::unlockpt(terminal_) != 0) return;
    terminalName = ::ptsname(terminal_);
  }
  std::vector<std::string> all{program};
  all.insert(all.end(), arguments.begin(), arguments.end());
  const std::string terminalPath = terminalName ? terminalName : "";
  child_ = ::fork();
  if (child_ == 0) ExecChild(all, options, outPath_, errPath_, terminalName ? terminalPath.c_str() : nullptr);
}

CliChild::~CliChild() {
  if (child_ > 0) {
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
  }
  if (terminal_ >= 0) ::close(terminal_);
  if (!captureFolder_.empty()) std::filesystem::remove_all(captureFolder_);
}

void CliChild::DrainTerminal() {
  if (terminal_ < 0) return;
  char buffer[4096];
  pollfd ready{terminal_, POLLIN, 0};
  while (::poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN)) {
    const ssize_t got = ::read(terminal_, buffer, sizeof buffer);
    if (got <= 0) break;
    terminalText_.append(buffer, static_cast<std::size_t>(got));
  }
}

bool CliChild::WaitForOutput(std::string_view text) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < end) {
    DrainTerminal();
    if (outputCaptured_ && ReadWholeFile(outPath_).find(text) != std::string::npos) return true;
    if (terminalText_.find(text) != std::string::npos) return true;
    if (child_ <= 0) return false;
    siginfo_t ended{};
    if (::waitid(P_PID, static_cast<id_t>(child_), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 || ended.si_pid != 0)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

void CliChild::Signal(int number) {
  if (child_ > 0) ::kill(child_, number);
}

CliRun CliChild::Wait() {
  if (child_ <= 0) return run_;
  int status = 0;
  for (;;) {
    DrainTerminal();
    const pid_t done = ::waitpid(child_, &status, terminal_ >= 0 ? WNOHANG : 0);
    if (done == child_) break;
    if (done < 0) return run_;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  child_ = -1;
  DrainTerminal();
  if (WIFEXITED(status)) run_.status = WEXITSTATUS(status);
  if (outputCaptured_) run_.out = ReadWholeFile(outPath_);
  run_.err = terminal_ >= 0 ? terminalText_ : ReadWholeFile(errPath_);
  run_.terminal = terminalText_;
  return run_;
}

CliRun RunCliProcess(const std::vector<std::string>& arguments, const std::string& program, const CliOptions& options) {
  CliChild child(arguments, program, options);
  return child.Wait();
}

std::vector<std::string> ScreenLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t column = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char character = text[i];
    if (character == '\r') {
      column = 0;
    } else if (character == '\n') {
      lines.push_back(line);
      line.clear();
      column = 0;
    } else if (text.substr(i, 3) == "\x1b[K") {
      line.resize(column);
      i += 2;
    } else {
      if (column < line.size())
        line[column] = character;
      else
        line += character;
      ++column;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}
