#include "support/MediaFactory.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#endif

#include "support/RecordedTools.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

#ifndef _WIN32
// Runs the tool and collects its standard output when `capture` is set; the exit status.
int Run(const std::vector<std::string>& all, std::string* capture) {
  std::vector<char*> argv;
  for (auto argument : all) argv.push_back(strdup(argument.c_str()));
  argv.push_back(nullptr);
  int pipeEnds[2] = {-1, -1};
  if (capture && ::pipe(pipeEnds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    if (capture) ::dup2(pipeEnds[1], 1), ::close(pipeEnds[0]), ::close(pipeEnds[1]);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  for (char* argument : argv) std::free(argument);
  if (capture) {
    ::close(pipeEnds[1]);
    char buffer[65536];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) capture->append(buffer, got);
    ::close(pipeEnds[0]);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) < 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// Runs `program` with `arguments` (on Windows: replays the Linux build's run of them).
ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments, const fs::path* output,
                bool capture) {
  const std::string key = ToolRunKey(program, arguments, output);
#ifdef _WIN32
  (void)capture;
  if (std::optional<ToolRun> run = ReplayToolRun(key, output)) return *run;
  std::string command = program;
  for (const std::string& argument : arguments) command += " " + argument;
  ADD_FAILURE() << "no recorded run of: " << command << " (the Linux tests record them into MORVANE_TEST_MEDIA)";
  return {};
#else
  std::vector<std::string> all{program};
  all.insert(all.end(), arguments.begin(), arguments.end());
  ToolRun run;
  run.status = Run(all, capture ? &run.out : nullptr);
  RecordToolRun(key, run, output);
  return run;
#endif
}

}  // namespace

int RunFfmpeg(const std::vector<std::string>& arguments) {
  std::vector<std::string> all = {"-y", "-v", "error", "-nostdin"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  const fs::path output = arguments.empty() ? fs::path() : Utf8Path(arguments.back());
  return RunTool("ffmpeg", all, arguments.empty() ? nullptr : &output, false).status;
}

std::string CaptureTool(const std::string& program, const std::vector<std::string>& arguments) {
  return RunTool(program, arguments, nullptr, true).out;
}

fs::path MakeMedia(const fs::path& output, const MediaSpec& spec) {
  std::vector<std::string> arguments;
  if (spec.video) arguments.insert(arguments.end(), {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25:duration=1"});
  if (spec.audio) arguments.insert(arguments.end(), {"-f", "lavfi", "-i", "sine=frequency=440:duration=1"});
  for (const auto& entry : spec.metadata) arguments.insert(arguments.end(), {"-metadata", entry});
  arguments.insert(arguments.end(), spec.extra.begin(), spec.extra.end());
  arguments.push_back(Utf8(output));
  EXPECT_EQ(RunFfmpeg(arguments), 0) << "ffmpeg could not make " << output;
  return output;
}

fs::path MakeMediaWithCreationTime(const fs::path& output, const std::string& creationTime) {
  MediaSpec spec;
  const std::string extension = output.extension().string();
  if (extension == ".m4a" || extension == ".mka") spec.video = false, spec.audio = true;
  spec.metadata.push_back("creation_time=" + creationTime);
  return MakeMedia(output, spec);
}
