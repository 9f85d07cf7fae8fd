// Runs the built morvane-cli as a child process and collects what it wrote.
#pragma once
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

struct CliRun {
  int status = -1;  // the exit status; -1 when the process did not exit normally (a crash)
  std::string out;
  std::string err;
  std::string terminal;  // all that reached the pseudo-terminal, as the terminal received it
};

// The lines a terminal shows after receiving `text`: a carriage return goes back to the
// start of the line, ESC [ K erases to its end, a line feed ends the line.
std::vector<std::string> ScreenLines(std::string_view text);

struct CliOptions {
  std::string workingFolder;      // empty: the test's own
  long long fileSizeLimit = -1;   // the child's file-size limit in bytes; -1: inherited
  bool errorOnTerminal = false;   // standard error is a pseudo-terminal instead of a file
  bool bothOnTerminal = false;    // standard output and error share one pseudo-terminal, as in a shell
  std::string outputFile;         // standard output goes here (say /dev/full); empty: captured
};

// A morvane-cli that runs while the test watches it and sends it signals.
class CliChild {
 public:
  CliChild(const std::vector<std::string>& arguments, const std::string& program = MORVANE_CLI_PATH,
           const CliOptions& options = {});
  ~CliChild();
  CliChild(const CliChild&) = delete;
  CliChild& operator=(const CliChild&) = delete;

  // Waits until standard output holds `text` (true) or the child ended or 60 s passed.
  bool WaitForOutput(std::string_view text);
  void Signal(int number);
  // Waits for the end and returns what the child wrote.
  CliRun Wait();

 private:
  void DrainTerminal();

  std::string captureFolder_;
  std::string outPath_;
  bool outputCaptured_ = true;
  std::string errPath_;
  int terminal_ = -1;  // the pseudo-terminal's master side
  std::string terminalText_;
  pid_t child_ = -1;
  CliRun run_;
};

// `program` defaults to the built morvane-cli.
CliRun RunCliProcess(const std::vector<std::string>& arguments, const std::string& program = MORVANE_CLI_PATH,
                     const CliOptions& options = {});
