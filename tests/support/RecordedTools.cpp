#include "support/RecordedTools.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

// FNV-1a: the same on every system, which is all a key needs.
std::uint64_t Hash(const std::string& bytes, std::uint64_t hash = 14695981039346656037ull) {
  for (const unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

std::string Hex(std::uint64_t value) {
  std::ostringstream text;
  text << std::hex << value;
  return text.str();
}

bool IsFile(const std::string& argument) {
  std::error_code ignored;
  return !argument.empty() && argument.front() != '-' && fs::is_regular_file(Utf8Path(argument), ignored);
}

void WriteAtomically(const fs::path& path, const std::string& bytes) {
  const fs::path temporary = path.string() + ".tmp" + Hex(Hash(path.string() + std::to_string(std::rand())));
  std::ofstream(temporary, std::ios::binary) << bytes;
  std::error_code ignored;
  fs::rename(temporary, path, ignored);
}

}  // namespace

std::string ToolRunKey(const std::string& program, const std::vector<std::string>& arguments, const fs::path* output) {
  std::string canonical = program;
  for (const std::string& argument : arguments) {
    canonical += '\0';
    if (output && Utf8Path(argument) == *output)
      canonical += "<output" + output->extension().string() + ">";
    else if (IsFile(argument))
      canonical += "<file " + Hex(Hash(ReadWholeFile(Utf8Path(argument)))) + ">";
    else
      canonical += argument;
  }
  return Hex(Hash(canonical));
}

fs::path RecordedToolsFolder() {
  const char* folder = std::getenv("MORVANE_TEST_MEDIA");
  return folder && *folder ? fs::path(folder) : fs::path();
}

void RecordToolRun(const std::string& key, const ToolRun& run, const fs::path* output) {
  const fs::path folder = RecordedToolsFolder();
  if (folder.empty()) return;
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  // The first run of a key is kept: a later run of the same tool may write other bytes
  // (an encoder's threads), and the runs recorded on the first one's file must find it.
  // Making the claim folder is atomic, also between test processes that run at once.
  if (!fs::create_directory(folder / (key + ".claimed"), ignored)) return;
  if (output && run.status == 0) WriteAtomically(folder / (key + ".file"), ReadWholeFile(*output));
  WriteAtomically(folder / (key + ".out"), run.out);
  WriteAtomically(folder / (key + ".status"), std::to_string(run.status));
}

std::optional<ToolRun> ReplayToolRun(const std::string& key, const fs::path* output) {
  const fs::path folder = RecordedToolsFolder();
  std::error_code ignored;
  if (folder.empty() || !fs::exists(folder / (key + ".status"), ignored)) return std::nullopt;
  ToolRun run;
  run.status = std::atoi(ReadWholeFile(folder / (key + ".status")).c_str());
  run.out = ReadWholeFile(folder / (key + ".out"));
  if (output && run.status == 0) std::ofstream(*output, std::ios::binary) << ReadWholeFile(folder / (key + ".file"));
  return run;
}
