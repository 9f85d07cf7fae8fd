// Runs a piece of a test without root's power over file permissions, so that tests of
// unreadable files and unwritable folders mean something when the suite runs as root.
#pragma once
#include <functional>
#include <optional>
#include <string>

// Runs `body` in a forked child; when the process is root, the child first becomes the
// unprivileged user "nobody" (65534). Returns the text the body returned, or nullopt when
// the child could not drop its privileges or did not finish. The child shares nothing with
// the test afterwards: whatever it changes in memory is lost, only files remain.
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body);
