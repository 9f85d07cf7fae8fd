#include "bench/ResidentMemory.h"

#include <fstream>
#include <string>

namespace {

long StatusField(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':')
      return std::stol(line.substr(field.size() + 1));
  }
  return -1;
}

}  // namespace

long ResidentKiB() { return StatusField("VmRSS"); }
long PeakResidentKiB() { return StatusField("VmHWM"); }
