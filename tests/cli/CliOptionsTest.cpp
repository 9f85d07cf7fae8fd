// morvane-cli as people use it: options and "--", dry runs, the version, exit statuses that
// tell the truth, and progress on a terminal only. Files on disk are checked before and after.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "cli/CliFiles.h"
#include "cli/CliProcess.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/WholeRegex.h"
#include "support/TestNeeds.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using Entries = std::map<std::string, std::string>;
using Arguments = std::vector<std::string>;

using CliOptionsTest = CliTest;

// `rows` with every "%s" replaced by `result`.
std::string WithResult(std::string rows, const std::string& result) {
  for (std::size_t at; (at = rows.find("%s")) != std::string::npos;) rows.replace(at, 2, result);
  return rows;
}

TEST_F(CliOptionsTest, ADryRunRenameReportsWhatWouldHappenAndChangesNothing) {
  const std::string first = MakeFlac(folder / "first.flac", "same", "first").string();
  const std::string twin = MakeFlac(folder / "twin.flac", "same", "twin").string();
  const std::string taken = MakeFlac(folder / "taken.flac", "old").string();
  folder.WriteFile("old.flac", "was here");
  const std::string refused = MakeFlac(folder / "slash.flac", "a/b").string();
  const std::string named = MakeFlac(folder / "named.flac", "named").string();
  const Entries before = Snapshot(folder.path());
  for (const char* option : {"-n", "--dry-run"}) {
    // The option may also follow the files: it is never taken for one.
    const CliRun run = RunCliProcess({"rename", first, twin, option, taken, refused, named, PathOf("missing.flac")});
    EXPECT_EQ(run.status, 1) << option;
    EXPECT_EQ(run.out, first + "\tsame\t" + PathOf("same.flac") + "\twould rename\n" +  //
                           twin + "\tsame\t" + PathOf("same.flac") + "\tfailed: name taken by first.flac\n" +
                           taken + "\told\t" + PathOf("old.flac") + "\tfailed: name taken by old.flac\n" +
                           refused + "\ta/b\t\tfailed: creation time is not a valid file name\n" +
                           named + "\tnamed\t" + named + "\tskipped: already named\n" +
                           PathOf("missing.flac") + "\t\t\tskipped: file not found\n")
        << option;
    EXPECT_EQ(Snapshot(folder.path()), before) << option;
  }
}

TEST_F(CliOptionsTest, ADryRunCopyReportsWhatWouldHappenAndChangesNothing) {
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  const std::string b = MakeFlac(folder / "b.flac", "two").string();
  folder.WriteFile("out/two.flac", "old");
  const Entries before = Snapshot(folder.path());
  const CliRun run = RunCliProcess({"copy", "--dry-run", "--replace", out.string(), a, b, a});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, a + "\tone\t" + (out / "one.flac").string() + "\twould copy\n" +  //
                         b + "\ttwo\t" + (out / "two.flac").string() + "\twould copy (replacing an existing file)\n" +
                         a + "\tone\t" + (out / "one.flac").string() + "\tskipped: same as " + a + "\n");
  EXPECT_EQ(Snapshot(folder.path()), before);

  // The real run does what the dry run said.
  const CliRun real = RunCliProcess({"copy", "--replace", out.string(), a, b});
  EXPECT_EQ(real.out, a + "\tone\t" + (out / "one.flac").string() + "\tcopied\n" +  //
                          b + "\ttwo\t" + (out / "two.flac").string() + "\tcopied (replaced an existing file)\n");
}

TEST_F(CliOptionsTest, ACopyKeepsADifferentFileOfItsNameAndSkipsOneWithItsBytes) {
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  const std::string b = MakeFlac(folder / "b.flac", "two").string();
  ASSERT_EQ(RunCliProcess({"copy", out.string(), a}).status, 0);
  folder.WriteFile("out/two.flac", "an earlier import");
  const Entries before = Snapshot(folder.path());
  const std::string rows = a + "\tone\t" + (out / "one.flac").string() + "\tskipped: already copied\n" +  //
                           b + "\ttwo\t" + (out / "two.flac").string() + "\tfailed: a different file has that name\n";
  // The dry run says what the real run does; neither writes anything.
  for (const Arguments& arguments : {Arguments{"copy", "-n", out.string(), a, b}, Arguments{"copy", out.string(), a, b}}) {
    const CliRun run = RunCliProcess(arguments);
    EXPECT_EQ(run.status, 1) << arguments[1];
    EXPECT_EQ(run.out, rows) << arguments[1];
    EXPECT_EQ(run.err, "") << arguments[1];
    EXPECT_EQ(Snapshot(folder.path()), before) << arguments[1];
  }
  // Only the file that is there already: nothing failed.
  const CliRun again = RunCliProcess({"copy", out.string(), a});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out, a + "\tone\t" + (out / "one.flac").string() + "\tskipped: already copied\n");

  const CliRun both = RunCliProcess({"copy", "--unique", "--replace", out.string(), b});
  EXPECT_EQ(both.status, 2);
  EXPECT_THAT(both.err, HasSubstr("--unique and --replace exclude each other"));
  const CliRun rename = RunCliProcess({"rename", "--replace", b});
  EXPECT_EQ(rename.status, 2);
  EXPECT_THAT(rename.err, HasSubstr("unknown option '--replace'"));
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliOptionsTest, FilesThatBeginWithADashFollowTheDoubleDash) {
  MakeFlac(folder / "-n", "dash");
  CliOptions options;
  options.workingFolder = folder.path().string();
  const CliRun run = RunCliProcess({"rename", "--", "-n"}, MORVANE_CLI_PATH, options);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "-n\tdash\tdash\trenamed\n");
  EXPECT_TRUE(fs::exists(folder / "dash"));
}

TEST_F(CliOptionsTest, RenamingAgainSkipsTheFilesThatAlreadyCarryTheirNames) {
  const std::string file = MakeFlac(folder / "a.flac", "stamp").string();
  ASSERT_EQ(RunCliProcess({"rename", file}).status, 0);
  const Entries before = Snapshot(folder.path());
  const CliRun run = RunCliProcess({"rename", PathOf("stamp.flac")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, PathOf("stamp.flac") + "\tstamp\t" + PathOf("stamp.flac") + "\tskipped: already named\n");
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliOptionsTest, VersionNamesTheProgramAndEachLibraryBuiltWithAndRunning) {
  const CliRun run = RunCliProcess({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::string version = "[0-9]+\\.[0-9]+\\.[0-9]+";
  const auto loaded = [&](const std::string& name) {
    return name + " " + version + " \\((lib)?" + name + "[^)]*\\), built with " + version + "\n";
  };
  const auto notLoaded = [&](const std::string& name) { return name + " not loaded: not used, built with " + version + "\n"; };
  EXPECT_THAT(run.out, MatchesWholeRegex("morvane-cli [0-9]+\\.[0-9]+\n" + loaded("avcodec") + notLoaded("avdevice") +
                                    notLoaded("avfilter") + loaded("avformat") + loaded("avutil") +
                                    loaded("swresample") + loaded("swscale")));
}

TEST_F(CliOptionsTest, FilesThatCannotBeReadFailTheCommand) {
  const std::string good = MakeFlac(folder / "a.flac", "stamp").string();
  const std::string damaged = folder.WriteFile("damaged.mp4", "not a media file").string();
  const Entries before = Snapshot(folder.path());
  CliRun run = RunCliProcess({"list", good, out.string(), damaged});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, good + "\tstamp\t" + PathOf("stamp.flac") + "\n" + out.string() + "\t\t\n" + damaged + "\t\t\n");
  EXPECT_EQ(run.err, "morvane-cli: " + out.string() + ": not a regular file (a folder: use -r)\n" + "morvane-cli: " + damaged +
                         ": cannot read: Invalid data found when processing input\n");

  run = RunCliProcess({"rename", out.string(), damaged});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, out.string() + "\t\t\tskipped: not a regular file (a folder: use -r)\n" + damaged +
                         "\t\t\tskipped: cannot read: Invalid data found when processing input\n");
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliOptionsTest, OutputThatCannotBeWrittenFailsTheCommand) {
  MORVANE_NEEDS(Missing(TNeed::DevFull));
  const std::string good = MakeFlac(folder / "a.flac", "stamp").string();
  CliOptions options;
  options.outputFile = "/dev/full";
  const CliRun run = RunCliProcess({"list", good}, MORVANE_CLI_PATH, options);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "morvane-cli: cannot write to standard output: No space left on device\n");
}

// The size of two files together in whole KiB.
std::string SizeKiB(const std::string& first, const std::string& second) {
  return std::to_string((fs::file_size(first) + fs::file_size(second)) / 1024);
}

TEST_F(CliOptionsTest, ProgressShowsOnATerminalOnly) {
  MORVANE_NEEDS(Missing(TNeed::Terminals));
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  const std::string b = MakeFlac(folder / "b.flac", "two").string();
  CliOptions options;
  options.errorOnTerminal = true;
  CliRun run = RunCliProcess({"copy", out.string(), a, b}, MORVANE_CLI_PATH, options);
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.err, HasSubstr("Reading 2 of 2"));
  EXPECT_THAT(run.err, HasSubstr("Copying 1 of 2"));
  // The bytes copied so far, and at the end one line that sums the run up.
  EXPECT_THAT(run.err, ::testing::ContainsRegex("Copying 2 of 2, [0-9]+ KiB of [0-9]+ KiB"));
  EXPECT_THAT(run.err, ::testing::EndsWith("\x1b[K2 copied (" + SizeKiB(a, b) + " KiB), 0 skipped, 0 failed\r\n"));
  EXPECT_EQ(run.out, a + "\tone\t" + (out / "one.flac").string() + "\tcopied\n" + b + "\ttwo\t" +
                         (out / "two.flac").string() + "\tcopied\n");
  run = RunCliProcess({"list", a, b});
  EXPECT_EQ(run.err, "") << "no progress into a file";
}

TEST_F(CliOptionsTest, UniqueRenamesNumberTwinsAndNeverReplaceAFile) {
  const std::string first = MakeFlac(folder / "first.flac", "same", "first").string();
  const std::string twin = MakeFlac(folder / "twin.flac", "same", "twin").string();
  const std::string named = MakeFlac(folder / "named.flac", "named").string();
  folder.WriteFile("same.flac", "was here");
  Entries expected = Snapshot(folder.path());
  const std::string firstBytes = expected["first.flac"];
  const std::string twinBytes = expected["twin.flac"];
  const std::string rows = first + "\tsame\t" + PathOf("same_1.flac") + "\t%s\n" +  //
                           twin + "\tsame\t" + PathOf("same_2.flac") + "\t%s\n" +  //
                           named + "\tnamed\t" + named + "\tskipped: already named\n";

  const CliRun dry = RunCliProcess({"rename", "--unique", "--dry-run", first, twin, named});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(dry.out, WithResult(rows, "would rename"));
  EXPECT_EQ(Snapshot(folder.path()), expected);

  const CliRun real = RunCliProcess({"rename", "--unique", first, twin, named});
  EXPECT_EQ(real.status, 0) << real.err;
  EXPECT_EQ(real.out, WithResult(rows, "renamed"));
  expected.erase("first.flac");
  expected.erase("twin.flac");
  expected["same_1.flac"] = firstBytes;
  expected["same_2.flac"] = twinBytes;
  EXPECT_EQ(Snapshot(folder.path()), expected);

  // A numbered file is already named: a second run leaves it, for real and in a dry run.
  for (const char* mode : {"--unique", "-n"}) {
    const CliRun again = RunCliProcess({"rename", "--unique", mode, PathOf("same_2.flac")});
    EXPECT_EQ(again.out, PathOf("same_2.flac") + "\tsame\t" + PathOf("same_2.flac") + "\tskipped: already named\n")
        << mode;
    EXPECT_EQ(Snapshot(folder.path()), expected) << mode;
  }
}

TEST_F(CliOptionsTest, UniqueCopiesNumberTwinsAndKeepTheFilesThatWereThere) {
  const std::string a = MakeFlac(folder / "a.flac", "one", "a").string();
  const std::string b = MakeFlac(folder / "b.flac", "one", "b").string();
  folder.WriteFile("out/one.flac", "old");
  Entries expected = Snapshot(folder.path());
  // The second copy of a finds its bytes at one_1 already.
  const std::string rows = a + "\tone\t" + (out / "one_1.flac").string() + "\t%s\n" +  //
                           b + "\tone\t" + (out / "one_2.flac").string() + "\t%s\n" +  //
                           a + "\tone\t" + (out / "one_1.flac").string() + "\tskipped: already copied\n";

  const CliRun dry = RunCliProcess({"copy", "--unique", "-n", out.string(), a, b, a});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(dry.out, WithResult(rows, "would copy"));
  EXPECT_EQ(Snapshot(folder.path()), expected);

  const CliRun real = RunCliProcess({"copy", "--unique", out.string(), a, b, a});
  EXPECT_EQ(real.status, 0) << real.err;
  EXPECT_EQ(real.out, WithResult(rows, "copied"));
  expected["out/one_1.flac"] = expected["a.flac"];
  expected["out/one_2.flac"] = expected["b.flac"];
  EXPECT_EQ(Snapshot(folder.path()), expected);
}

TEST_F(CliOptionsTest, UniqueIsOnlyForTheCommandsThatChangeFiles) {
  MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
  const std::string a = MakeFlac(folder / "a.flac", "one").string();
  for (const char* command : {"list", "info"}) {
    const CliRun run = RunCliProcess({command, "--unique", a});
    EXPECT_EQ(run.status, 2) << command;
    EXPECT_THAT(run.err, HasSubstr("unknown option '--unique'")) << command;
  }
}

// A media tree with what a walk must leave out: hidden names, links, other files.
class CliRecursiveTest : public CliTest {
 protected:
  void SetUp() override {
    MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
    CliTest::SetUp();
    fs::create_directories(tree / "sub");
    a = MakeFlac(tree / "a.flac", "one").string();
    b = MakeFlac(tree / "sub" / "B.FLAC", "two").string();
    MakeFlac(tree / ".hidden.flac", "three");
    fs::create_directory(tree / ".cache");
    MakeFlac(tree / ".cache" / "c.flac", "four");
    folder.WriteFile("tree/notes.txt", "not media");
    const std::string outside = MakeFlac(folder / "outside.flac", "five").string();
    fs::create_symlink(outside, tree / "link.flac");
    fs::create_directory_symlink(out, tree / "linked");
  }
  fs::path tree = folder / "tree";
  std::string a, b;
};

TEST_F(CliRecursiveTest, AFolderIsWalkedForItsMediaFilesWithRecursive) {
  const std::string loose = MakeFlac(folder / "loose.flac", "six").string();
  const Entries before = Snapshot(folder.path());
  for (const char* option : {"-r", "--recursive"}) {
    const CliRun list = RunCliProcess({"list", option, tree.string(), loose});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.err, "morvane-cli: left out 1 file that is not media: .txt 1\n") << "said once, at the end";
    // The folder's files in byte order, then the next FILE.
    EXPECT_EQ(list.out, a + "\tone\t" + (tree / "one.flac").string() + "\n" +  //
                            b + "\ttwo\t" + (tree / "sub" / "two.FLAC").string() + "\n" +  //
                            loose + "\tsix\t" + PathOf("six.flac") + "\n")
        << option;
  }
  EXPECT_EQ(Snapshot(folder.path()), before);

  const CliRun rename = RunCliProcess({"rename", "-r", tree.string()});
  EXPECT_EQ(rename.status, 0) << rename.err;
  EXPECT_EQ(rename.out, a + "\tone\t" + (tree / "one.flac").string() + "\trenamed\n" +  //
                            b + "\ttwo\t" + (tree / "sub" / "two.FLAC").string() + "\trenamed\n");
  Entries after = before;
  after.erase("tree/a.flac");
  after["tree/one.flac"] = before.at("tree/a.flac");
  after.erase("tree/sub/B.FLAC");
  after["tree/sub/two.FLAC"] = before.at("tree/sub/B.FLAC");
  EXPECT_EQ(Snapshot(folder.path()), after);
}

TEST_F(CliRecursiveTest, CopyWalksTheFolderAndLeavesItAsItIs) {
  const Entries before = Snapshot(tree);
  const CliRun copy = RunCliProcess({"copy", "--recursive", out.string(), tree.string()});
  EXPECT_EQ(copy.status, 0) << copy.err;
  EXPECT_EQ(copy.out, a + "\tone\t" + (out / "one.flac").string() + "\tcopied\n" +  //
                          b + "\ttwo\t" + (out / "two.FLAC").string() + "\tcopied\n");
  EXPECT_EQ(Snapshot(out), (Entries{{"one.flac", ReadWholeFile(a)}, {"two.FLAC", ReadWholeFile(b)}}));
  EXPECT_EQ(Snapshot(tree), before);
}

TEST_F(CliRecursiveTest, WithoutRecursiveAFolderIsNotARegularFileAndSaysToUseRecursive) {
  const Entries before = Snapshot(folder.path());
  const CliRun rename = RunCliProcess({"rename", tree.string()});
  EXPECT_EQ(rename.status, 1);
  EXPECT_EQ(rename.out, tree.string() + "\t\t\tskipped: not a regular file (a folder: use -r)\n");
  EXPECT_EQ(Snapshot(folder.path()), before);
  EXPECT_EQ(RunCliProcess({"info", "-r", a}).status, 2) << "info takes one file, never a walk";
}

TEST_F(CliOptionsTest, CompanionsGoWithTheirMediaUnlessTurnedOff) {
  const std::string clip = MakeFlac(folder / "clip.flac", "one").string();
  folder.WriteFile("clip.srt", "subtitles");
  CliRun run = RunCliProcess({"rename", "--no-companions", clip});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, clip + "\tone\t" + PathOf("one.flac") + "\trenamed\n");
  EXPECT_TRUE(fs::exists(folder / "clip.srt"));

  fs::rename(folder / "clip.srt", folder / "one.srt");
  run = RunCliProcess({"copy", out.string(), PathOf("one.flac")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, PathOf("one.flac") + "\tone\t" + (out / "one.flac").string() + "\tcopied (with one.srt)\n");
  EXPECT_EQ(ReadWholeFile(out / "one.srt"), "subtitles");
  EXPECT_EQ(RunCliProcess({"list", "--no-companions", clip}).status, 2) << "only rename and copy move files";
}

}  // namespace
