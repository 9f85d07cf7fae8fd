// Starting and awaiting a child program for the process-level measurements.
#pragma once
#include <string>
#include <vector>

// Runs `arguments` (the program first, looked up in PATH when it has no slash) with its
// standard output written to `outputFile` (replaced) and its standard error inherited,
// and waits for it. Returns its exit status, or -1 with `error` set when it could not be
// started or did not exit normally. `cpuSeconds` receives the processor time (user and
// system, all threads) that the child used.
int RunChild(const std::vector<std::string>& arguments, const std::string& outputFile, double& cpuSeconds,
             std::string& error);
