#include "support/MediaFactory.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

int RunFfmpeg(const std::vector<std::string>& arguments) {
  std::vector<std::string> all = {"ffmpeg", "-y", "-v", "error", "-nostdin"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = fork();
  if (child == 0) {
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) < 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

fs::path MakeMedia(const fs::path& output, const MediaSpec& spec) {
  std::vector<std::string> arguments;
  if (spec.video) arguments.insert(arguments.end(), {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25:duration=1"});
  if (spec.audio) arguments.insert(arguments.end(), {"-f", "lavfi", "-i", "sine=frequency=440:duration=1"});
  for (const auto& entry : spec.metadata) arguments.insert(arguments.end(), {"-metadata", entry});
  arguments.insert(arguments.end(), spec.extra.begin(), spec.extra.end());
  arguments.push_back(output.string());
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
