// Runs the built morvane-cli as a child process and collects what it wrote.
#pragma once
#include <string>
#include <vector>

struct CliRun {
  int status = -1;  // the exit status; -1 when the process did not exit normally (a crash)
  std::string out;
  std::string err;
};

// `program` defaults to the built morvane-cli.
CliRun RunCliProcess(const std::vector<std::string>& arguments, const std::string& program = MORVANE_CLI_PATH);
