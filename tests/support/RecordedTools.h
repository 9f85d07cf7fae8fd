// Runs of the ffmpeg tools, kept for a test build that cannot start them: the Windows build
// of the tests runs under Wine, where the Linux tools cannot be started. The Linux build
// records every run into the folder that MORVANE_TEST_MEDIA names (when it is set), under a
// key made from the tool's arguments; the Windows build replays the run of the same key.
// Input files count by their content, so that a file made in a temporary folder gives the
// same key wherever that folder is.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct ToolRun {
  int status = -1;
  std::string out;  // standard output, for runs whose output is read
};

// The key of running `program` with `arguments`; when `output` is set, it is the file the
// run writes (only its extension counts).
std::string ToolRunKey(const std::string& program, const std::vector<std::string>& arguments,
                       const std::filesystem::path* output);

// The folder of recorded runs; empty when MORVANE_TEST_MEDIA is not set.
std::filesystem::path RecordedToolsFolder();

// Keeps a finished run (and the file it wrote) under `key`, unless a run of that key was
// kept already.
void RecordToolRun(const std::string& key, const ToolRun& run, const std::filesystem::path* output);
// The run kept under `key`, its file copied to `output`; nothing when no run was kept.
std::optional<ToolRun> ReplayToolRun(const std::string& key, const std::filesystem::path* output);
