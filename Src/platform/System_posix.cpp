#include "platform/System.h"

#include <langinfo.h>
#include <locale.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void UseUtf8StandardStreams() {}

std::uint32_t CurrentThreadId() { return static_cast<std::uint32_t>(::gettid()); }

char DecimalSeparator() {
  static const char separator = [] {
    char result = '.';
    if (locale_t user = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0))) {
      const char* radix = ::nl_langinfo_l(RADIXCHAR, user);
      if (radix && radix[0] && !radix[1]) result = radix[0];
      ::freelocale(user);
    }
    return result;
  }();
  return separator;
}

namespace {

std::atomic<int>* gCaughtSignal = nullptr;
std::atomic<bool>* gStopRequested = nullptr;

void RecordStopSignal(int number) {
  gCaughtSignal->store(number);
  gStopRequested->store(true);
}

}  // namespace

void CatchStopSignals(std::atomic<int>& caught, std::atomic<bool>& stop) {
  static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
                "a signal handler may only store into lock-free atomics");
  gCaughtSignal = &caught;
  gStopRequested = &stop;
  struct sigaction action {};
  action.sa_handler = &RecordStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

int ExitStatusForSignal(int number) { return 128 + number; }

void IgnoreFileSizeLimitSignal() { ::signal(SIGXFSZ, SIG_IGN); }

std::uint64_t OpenFileLimit() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 0;
  return limit.rlim_cur;
}

}  // namespace platform
