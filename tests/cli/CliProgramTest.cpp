#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "FFDecode/CustomDecoder.h"
#include "FFDecode/FFDecoder.h"
#include "FFLoad/FFLoad.h"
#include "cli/CliFiles.h"
#include "cli/CliProcess.h"
#include "platform/Text.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"
#include "support/TestEnvironment.h"
#include "support/TestNeeds.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Arguments = std::vector<std::string>;

const std::string Stamp = "2015-06-01T10:20:30.000000Z";
const std::string StampName = "2015-06-01T10_20_30.000000Z";

TEST(CliHelpTest, DescribesEveryCommandTheOutputAndTheExitStatus) {
  for (const char* option : {"--help", "-h"}) {
    const CliRun run = RunCliProcess({option});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* part :
         {"morvane-cli list [--explain] [-r|--recursive] [-j N|--jobs N] [--full-probe] [--format PATTERN] "
          "[--tz ZONE] [--assume-tz ZONE] [--shift AMOUNT] [--shift-for MODEL=AMOUNT] [--skip-unset-dates] "
          "[--date-from-name] [--date-from-mtime] [--] FILE...",
          "morvane-cli rename [-n|--dry-run] [--unique] [--set-mtime] [--no-companions] [-r|--recursive] "
          "[-j N|--jobs N] [--full-probe] [--format PATTERN] [--tz ZONE] [--assume-tz ZONE] [--shift AMOUNT] "
          "[--shift-for MODEL=AMOUNT] [--skip-unset-dates] [--date-from-name] [--date-from-mtime] [--] FILE...",
          "morvane-cli copy [-n|--dry-run] [--unique] [--replace] [--set-mtime] [--no-companions] [-r|--recursive] "
          "[-j N|--jobs N] [--full-probe] [--format PATTERN] [--tz ZONE] [--assume-tz ZONE] [--shift AMOUNT] "
          "[--shift-for MODEL=AMOUNT] [--skip-unset-dates] [--date-from-name] [--date-from-mtime] [--] DIR FILE...",
          "morvane-cli COMMAND --help", "--set-mtime  ", "--unique", "--no-companions  ", "--tz recorded",
          "skipped: creation time not understood", "skipped: date looks unset", "--explain  ",
          "morvane-cli info [--] FILE", "morvane-cli undo [--list] [--] [RUN]", "-r, --recursive",
          "current path TAB old path TAB result", "restored", "path TAB creation time TAB name a rename would give",
          "path TAB creation time TAB new name TAB result", "renamed", "copied", "failed: REASON",
          "skipped: file not found", "skipped: no creation time", "creation time is not a valid file name",
          "\"LibAV\"", "Exit status", "  0  ", "  1  ", "  2  ", "  3  ", "  4  ", "--dry-run", "--version", "would rename",
          "would copy (replacing an existing file)", "copied (replaced an existing file)", "skipped: already named", "--replace  ",
          "skipped: already copied", "failed: a different file has that name",
          "skipped: not a regular file", "skipped: cannot read: REASON", "its new name is empty", "--  "})
      EXPECT_THAT(run.out, HasSubstr(part)) << option;
  }
}

class CliUsageErrorTest : public CliTest, public ::testing::WithParamInterface<Arguments> {};

TEST_P(CliUsageErrorTest, ExitsWithStatus2AndTouchesNothing) {
  const std::string file = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  fs::create_directory(folder / "out");
  const auto before = Snapshot(folder.path());
  Arguments arguments;
  for (const std::string& argument : GetParam())
    arguments.push_back(argument == "FILE" ? file : argument == "DIR" ? PathOf("out") : argument);

  const CliRun run = RunCliProcess(arguments);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_THAT(run.err, StartsWith("morvane-cli: "));
  EXPECT_THAT(run.err, HasSubstr("morvane-cli --help"));
  EXPECT_EQ(Snapshot(folder.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Lines, CliUsageErrorTest,
                         ::testing::Values(Arguments{}, Arguments{"frobnicate", "FILE"}, Arguments{"RENAME", "FILE"},
                                           Arguments{"list"}, Arguments{"rename"}, Arguments{"copy"},
                                           Arguments{"copy", "DIR"}, Arguments{"copy", "", "FILE"},
                                           Arguments{"info"}, Arguments{"info", "FILE", "FILE"},
                                           Arguments{"--help", "rename", "FILE"}, Arguments{"rename", "-x", "FILE"},
                                           Arguments{"list", "-n", "FILE"}, Arguments{"copy", "--force", "DIR", "FILE"},
                                           Arguments{"--version", "FILE"}));

TEST_F(CliTest, ListWritesOneLinePerFileInArgumentOrderAndChangesNothing) {
  const std::string mkv = MakeMediaWithCreationTime(folder / "b.mkv", Stamp).string();
  const std::string mp4 = MakeMediaWithCreationTime(folder / "a.mp4", "2016-01-02T03:04:05.000000Z").string();
  const std::string none = MakeMedia(folder / "none.mp4").string();
  const std::string refused = MakeFlac(folder / "dots.flac", "..").string();
  const auto before = Snapshot(folder.path());

  const CliRun run = RunCliProcess({"list", mkv, PathOf("missing.mp4"), mp4, none, refused});
  EXPECT_EQ(run.status, 1) << "a FILE could not be read";
  EXPECT_EQ(run.err, "morvane-cli: " + PathOf("missing.mp4") + ": file not found\n");
  EXPECT_EQ(run.out, mkv + "\t" + Stamp + "\t" + PathOf(StampName + ".mkv") + "\n" +       //
                         PathOf("missing.mp4") + "\t\t\n" +                                   //
                         mp4 + "\t2016-01-02T03:04:05.000000Z\t" + PathOf("2016-01-02T03_04_05.000000Z.mp4") + "\n" +
                         none + "\t\t\n" +  //
                         refused + "\t..\t\n");
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliTest, RenameReportsEachFileAndFailsWhenAFileIsMissing) {
  const std::string mp4 = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  const std::string none = MakeMedia(folder / "none.mp4").string();
  const CliRun run = RunCliProcess({"rename", PathOf("missing.mp4"), mp4, none});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, PathOf("missing.mp4") + "\t\t\tskipped: file not found\n" +  //
                         mp4 + "\t" + Stamp + "\t" + PathOf(StampName + ".mp4") + "\trenamed\n" +
                         none + "\t\t\tskipped: no creation time\n");
  EXPECT_FALSE(fs::exists(mp4));
  EXPECT_TRUE(fs::exists(PathOf(StampName + ".mp4")));
}

TEST_F(CliTest, RenameThatFailsExitsWithStatus1) {
  const std::string first = MakeFlac(folder / "first.flac", "same", "first").string();
  const std::string second = MakeFlac(folder / "second.flac", "same", "second").string();
  const std::string refused = MakeFlac(folder / "slash.flac", "a/b").string();
  const CliRun run = RunCliProcess({"rename", first, second, refused});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, first + "\tsame\t" + PathOf("same.flac") + "\trenamed\n" +  //
                         second + "\tsame\t" + PathOf("same.flac") + "\tfailed: name taken by same.flac\n" +
                         refused + "\ta/b\t\tfailed: creation time is not a valid file name\n");
  EXPECT_TRUE(fs::exists(second));
  EXPECT_TRUE(fs::exists(refused));
}

// A companion named on the command line after its media file: its file has gone with the
// media file when its turn comes, which is no failure.
TEST_F(CliTest, ACompanionGivenAfterItsMediaFileMovedWithIt) {
  const std::string clip = MakeFlac(folder / "a.flac", "new").string();
  const std::string sidecar = folder.WriteFile("a.xmp", "sidecar").string();
  const CliRun run = RunCliProcess({"rename", clip, sidecar});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, clip + "\tnew\t" + PathOf("new.flac") + "\trenamed (with a.xmp)\n" + sidecar + "\t\t" +
                         PathOf("new.xmp") + "\tmoved with a.flac\n");
}

TEST_F(CliTest, CopyReportsEachFileAndItsStatus) {
  fs::create_directory(folder / "out");
  const std::string a = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  const std::string none = MakeMedia(folder / "none.mp4").string();
  CliRun run = RunCliProcess({"copy", PathOf("out"), a, none});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::string target = (out / (StampName + ".mp4")).string();
  EXPECT_EQ(run.out, a + "\t" + Stamp + "\t" + target + "\tcopied\n" + none + "\t\t\tskipped: no creation time\n");
  EXPECT_EQ(ReadWholeFile(target), ReadWholeFile(a));

  // Copied again, twice in one run: the copy is there already.
  run = RunCliProcess({"copy", PathOf("out") + static_cast<char>(fs::path::preferred_separator), a, a});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, a + "\t" + Stamp + "\t" + target + "\tskipped: already copied\n" +  //
                         a + "\t" + Stamp + "\t" + target + "\tskipped: already copied\n");

  // A copy folder that is not there fails once, before any file.
  run = RunCliProcess({"copy", PathOf("no-such-folder"), a, none});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "morvane-cli: " + PathOf("no-such-folder") + ": No such file or directory\n");
  run = RunCliProcess({"copy", a, none});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.err, "morvane-cli: " + a + ": not a folder\n");
}

TEST_F(CliTest, NamesWithBlanksNonAsciiLeadingDashAndTabs) {
  MORVANE_NEEDS(Missing(TNeed::PosixNames));
  const std::string blanks = MakeMediaWithCreationTime(folder / "Möwe am Strand 日本.mp4", Stamp).string();
  const std::string dash = MakeFlac(folder / "-x.flac", "dash").string();
  const std::string tab = MakeFlac(folder / "tab\there.flac", "a\tb").string();
  const CliRun run = RunCliProcess({"rename", blanks, dash, tab});
  EXPECT_EQ(run.status, 1) << run.err;
  // A tab inside a field is written as a blank; a creation time that holds one is refused.
  EXPECT_EQ(run.out, blanks + "\t" + Stamp + "\t" + PathOf(StampName + ".mp4") + "\trenamed\n" +  //
                         dash + "\tdash\t" + PathOf("dash.flac") + "\trenamed\n" +                  //
                         PathOf("tab here.flac") + "\ta b\t\tfailed: creation time is not a valid file name\n");
  EXPECT_TRUE(fs::exists(tab));
}

TEST_F(CliTest, InfoWritesTheFileInformationText) {
  const std::string file = MakeMediaWithCreationTime(folder / "a.mov", Stamp).string();
  RequireMediaLibraries();
  TFFDecoder decoder;
  ASSERT_TRUE(decoder.LoadFile(platform::NarrowToWide(file))) << decoder.LastErrMsg();
  std::string expected = decoder.FileInfoText();
  ASSERT_THAT(expected, HasSubstr("\r\n  creation_time   : " + Stamp + "\r\n"));
#ifndef _WIN32
  // The report's CR LF becomes the system's LF on the way out; on Windows it is the system's.
  for (std::size_t at; (at = expected.find("\r\n")) != std::string::npos;) expected.erase(at, 1);
#endif

  const CliRun run = RunCliProcess({"info", file});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, expected);
}

TEST_F(CliTest, InfoThatCannotOpenTheFileExitsWithStatus1) {
  RequireMediaLibraries();
  const std::string random = folder.WriteFile("random.mp4", std::string(4096, '\x5A')).string();
  fs::create_directory(folder / "dir.mp4");
  for (const std::string& file : {PathOf("missing.mp4"), random, PathOf("dir.mp4")}) {
    TFFDecoder decoder;
    ASSERT_FALSE(decoder.LoadFile(platform::NarrowToWide(file)));
    ASSERT_FALSE(decoder.LastErrMsg().empty());
    const CliRun run = RunCliProcess({"info", file});
    EXPECT_EQ(run.status, 1) << file;
    EXPECT_EQ(run.out, "") << file;
    EXPECT_EQ(run.err, "morvane-cli: " + decoder.LastErrMsg() + "\n") << file;
  }
}

TEST_F(CliTest, InfoOnAPipeFailsInsteadOfWaitingForData) {
  MORVANE_NEEDS(Missing(TNeed::Fifos));
  const fs::path pipe = folder / "pipe.mp4";
  ASSERT_EQ(MakeFifo(pipe), 0);
  const CliRun run = RunCliProcess({"info", pipe.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "morvane-cli: " + pipe.string() + ": not a regular file\n");
}

// A copy of the program whose "LibAV" folder holds a broken avcodec: the loader takes the
// folder's file, fails, and the program must stop before touching any file.
class CliWithoutLibrariesTest : public CliTest {
 protected:
  void SetUp() override {
    fs::create_directories(folder / "bin" / "LibAV");
    program = folder / "bin" / "morvane-cli";
    fs::copy_file(MORVANE_CLI_PATH, program);
    library = folder / "bin" / "LibAV" / platform::WideToNarrow(FFLoader().LibraryFileName(liAVCodec));
    folder.WriteFile(fs::relative(library, folder.path()).string(), "not a library");
    file = MakeMediaWithCreationTime(folder / "a.mp4", Stamp).string();
  }
  fs::path program;
  fs::path library;
  std::string file;
};

TEST_F(CliWithoutLibrariesTest, EveryCommandExitsWithStatus3AndTheLoadersMessage) {
  fs::create_directory(folder / "out");
  const auto before = Snapshot(folder.path());
  for (const Arguments& arguments :
       {Arguments{"list", file}, Arguments{"rename", file}, Arguments{"copy", PathOf("out"), file}, Arguments{"info", file}}) {
    const CliRun run = RunCliProcess(arguments, program.string());
    EXPECT_EQ(run.status, 3) << arguments.front();
    EXPECT_EQ(run.out, "") << arguments.front();
    EXPECT_THAT(run.err, StartsWith("morvane-cli: Load library " + library.string() + " error: ")) << arguments.front();
    EXPECT_EQ(run.err.back(), '\n');
  }
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliWithoutLibrariesTest, HelpAndVersionAnswerWithoutThem) {
  const CliRun run = RunCliProcess({"--help"}, program.string());
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.out, StartsWith("Usage:"));
  // The version says why each library is not loaded.
  const CliRun version = RunCliProcess({"--version"}, program.string());
  EXPECT_EQ(version.status, 0) << version.err;
  EXPECT_THAT(version.out, HasSubstr("\navcodec not loaded: "));
  EXPECT_THAT(version.out, HasSubstr("\navformat not loaded: avcodec failed to load, built with "));
}

}  // namespace
