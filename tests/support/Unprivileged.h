// Runs a piece of a test without root's power over file permissions, so that tests of
// unreadable files and unwritable folders mean something when the suite runs as root.
#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// Runs `body` in a forked child; when the process is root, the child first becomes the
// unprivileged user "nobody" (65534). Returns the text the body returned, or nullopt when
// the child could not drop its privileges or did not finish. The child shares nothing with
// the test afterwards: whatever it changes in memory is lost, only files remain.
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body);

// Makes a FIFO (named pipe) at `path`; 0 or -1.
int MakeFifo(const std::filesystem::path& path);

// Windows has neither: there both fail the test that calls them. The Windows build of the
// tests leaves every test that uses them out (tests/WindowsLeftOut.cmake).
