// Small facts about the running process and the user's settings.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The program's arguments after its own name, in UTF-8 (on Windows from the wide command
// line: the narrow `argv` there holds the ANSI code page, which loses names).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard output and error take UTF-8 bytes as they are, lines ending in "\n" alone, and a
// console shows them as UTF-8.
void UseUtf8StandardStreams();

// The kernel's id of the calling thread.
std::uint32_t CurrentThreadId();

// The decimal separator of the user's locale (from the environment), whatever locale
// the C library has been switched to.
char DecimalSeparator();

// True when standard error goes to a terminal (not to a pipe or a file).
bool StandardErrorIsTerminal();

// From now on an interrupt (SIGINT) or termination request (SIGTERM) no longer ends the
// process: its number goes to `caught` and `stop` turns true, so that the work in progress
// can end cleanly. Both must live until the process ends.
void CatchStopSignals(std::atomic<int>& caught, std::atomic<bool>& stop);
// The exit status by which a shell knows that the process ended on signal `number`.
int ExitStatusForSignal(int number);

// How many files the process may hold open at once (the soft limit), or 0 when the system
// sets no limit that matters.
std::uint64_t OpenFileLimit();

// A write beyond the file-size limit then fails with "File too large" instead of ending
// the process (SIGXFSZ), so that the write's caller can clean up.
void IgnoreFileSizeLimitSignal();

}  // namespace platform
