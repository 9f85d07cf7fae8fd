#include "platform/System.h"

#include "platform/Win32Support.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>


namespace platform {

std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int index = 1; wide && index < count; ++index) arguments.push_back(win32::Narrow(wide[index]));
  if (wide) ::LocalFree(wide);
  return arguments;
}

namespace {
UINT gConsoleOutputPage = 0;
void RestoreConsoleOutputPage() { ::SetConsoleOutputCP(gConsoleOutputPage); }
}  // namespace

void UseUtf8StandardStreams() {
  // Binary mode: no "\r" before each "\n", the same bytes as on other systems.
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  // The console's page outlives the program: it gets its own back at the end.
  gConsoleOutputPage = ::GetConsoleOutputCP();
  if (gConsoleOutputPage != 0 && gConsoleOutputPage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8))
    std::atexit(&RestoreConsoleOutputPage);
}

std::uint32_t CurrentThreadId() { return ::GetCurrentThreadId(); }

char DecimalSeparator() {
  static const char separator = [] {
    wchar_t text[8] = {};
    const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, 8);
    // One ASCII character, as the formatter writes one byte.
    return length == 2 && text[0] > 0 && text[0] < 0x80 ? static_cast<char>(text[0]) : '.';
  }();
  return separator;
}

namespace {

std::atomic<int>* gCaughtSignal = nullptr;
std::atomic<bool>* gStopRequested = nullptr;

// Runs on a thread of its own that the system starts for the console event.
BOOL WINAPI RecordStopEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  gCaughtSignal->store(SIGINT);
  gStopRequested->store(true);
  return TRUE;
}

}  // namespace

void CatchStopSignals(std::atomic<int>& caught, std::atomic<bool>& stop) {
  gCaughtSignal = &caught;
  gStopRequested = &stop;
  ::SetConsoleCtrlHandler(&RecordStopEvent, TRUE);
}

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// What a console program that Ctrl+C ended returns on Windows.
int ExitStatusForSignal(int) { return static_cast<int>(STATUS_CONTROL_C_EXIT); }

// Windows ends no process for writing past a size limit.
void IgnoreFileSizeLimitSignal() {}

// Handles are limited only by memory.
std::uint64_t OpenFileLimit() { return 0; }

}  // namespace platform
