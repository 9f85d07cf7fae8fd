#include "support/Unprivileged.h"

#include <gtest/gtest.h>

std::optional<std::string> RunUnprivileged(const std::function<std::string()>&) {
  ADD_FAILURE() << "no second user on Windows";
  return std::nullopt;
}

int MakeFifo(const std::filesystem::path& path) {
  ADD_FAILURE() << "no FIFO on Windows: " << path;
  return -1;
}
