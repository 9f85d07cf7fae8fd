// The Windows counterpart of CliProcess.cpp: the child gets files for its standard output
// and error, and the null device for its input.
#include "cli/CliProcess.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "Base/Utf8.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::wstring WideOf(const std::string& utf8) {
  const std::u16string wide = text::Utf8ToUtf16(utf8);
  return std::wstring(wide.begin(), wide.end());
}

// One argument as the C run-time's command-line parser reads it back.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  for (std::size_t index = 0;; ++index) {
    std::size_t backslashes = 0;
    while (index < argument.size() && argument[index] == L'\\') ++index, ++backslashes;
    if (index == argument.size()) {
      quoted.append(backslashes * 2, L'\\');
      break;
    }
    if (argument[index] == L'"')
      quoted.append(backslashes * 2 + 1, L'\\');
    else
      quoted.append(backslashes, L'\\');
    quoted += argument[index];
  }
  return quoted + L"\"";
}

HANDLE InheritableFile(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

CliChild::CliChild(const std::vector<std::string>& arguments, const std::string& program, const CliOptions& options) {
  const TempFolder folder;
  captureFolder_ = (fs::temp_directory_path() / ("morvane-cli-capture-" + folder.path().filename().string())).string();
  fs::create_directories(captureFolder_);
  outputCaptured_ = options.outputFile.empty();
  outPath_ = outputCaptured_ ? captureFolder_ + "\\out" : options.outputFile;
  errPath_ = captureFolder_ + "\\err";
  std::wstring commandLine = Quoted(WideOf(program));
  for (const std::string& argument : arguments) commandLine += L" " + Quoted(WideOf(argument));
  HANDLE in = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE out = InheritableFile(WideOf(outPath_), GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = InheritableFile(WideOf(errPath_), GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION started{};
  const std::wstring workingFolder = WideOf(options.workingFolder);
  if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &started)) {
    ::CloseHandle(started.hThread);
    process_ = started.hProcess;
  }
  for (HANDLE handle : {in, out, err})
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
}

CliChild::~CliChild() {
  if (process_) {
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, INFINITE);
    ::CloseHandle(process_);
  }
  std::error_code ignored;
  if (!captureFolder_.empty()) fs::remove_all(captureFolder_, ignored);
}

void CliChild::DrainTerminal() {}

bool CliChild::WaitForOutput(std::string_view text) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < end) {
    if (outputCaptured_ && ReadWholeFile(outPath_).find(text) != std::string::npos) return true;
    if (!process_ || ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

// Tests that send signals are POSIX-only and left out of the Windows build.
void CliChild::Signal(int number) { ADD_FAILURE() << "signal " << number << " sent on Windows"; }

CliRun CliChild::Wait() {
  if (!process_) return run_;
  ::WaitForSingleObject(process_, INFINITE);
  DWORD status = 0;
  if (::GetExitCodeProcess(process_, &status)) run_.status = static_cast<int>(status);
  ::CloseHandle(process_);
  process_ = nullptr;
  if (outputCaptured_) run_.out = ReadWholeFile(outPath_);
  run_.err = ReadWholeFile(errPath_);
  return run_;
}

CliRun RunCliProcess(const std::vector<std::string>& arguments, const std::string& program, const CliOptions& options) {
  CliChild child(arguments, program, options);
  return child.Wait();
}
