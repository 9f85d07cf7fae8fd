// morvane-cli's naming options as people use them: --format, --tz, --assume-tz,
// --skip-unset-dates, list --explain, photo dates and the refusals, with the files on disk
// checked before and after.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <cstdio>
#include <string>

#include "cli/CliFiles.h"
#include "cli/CliProcess.h"
#include "support/FileTimes.h"
#include "support/ScopedEnvVar.h"
#include "workflow/PhotoFactory.h"

namespace {

namespace fs = std::filesystem;

// A file's modification time as a lookup writes it.
std::string FileTimeText(const std::string& file) {
  // Read as the support reads it: to the 100 ns on every system.
  const std::chrono::sys_time<std::chrono::microseconds> instant{
      std::chrono::floor<std::chrono::microseconds>(std::chrono::nanoseconds{FileTimesOf(file).modified})};
  const auto day = std::chrono::floor<std::chrono::days>(instant);
  const std::chrono::year_month_day date(day);
  const std::chrono::hh_mm_ss clock(instant - day);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%06dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
  return text;
}
using ::testing::HasSubstr;

const std::string Stamp = "2015-06-01T10:20:30.000000Z";

using CliNamingTest = CliTest;

TEST_F(CliNamingTest, FormatAndZonesNameRenamesCopiesAndLists) {
  const std::string clip = MakeFlac(folder / "clip.flac", Stamp).string();
  const CliRun list = RunCliProcess({"list", "--tz", "Europe/Berlin", clip});
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out, clip + '\t' + Stamp + '\t' + PathOf("2015-06-01T12_20_30.000000+02_00.flac") + '\n');

  const CliRun copy = RunCliProcess({"copy", "--format=%Y%m%d_%H%M%S_%f%z%%", "--tz=Asia/Tokyo", out.string(), clip});
  EXPECT_EQ(copy.status, 0) << copy.err;
  const fs::path copied = out / "20150601_192030_000000+0900%.flac";
  EXPECT_EQ(copy.out, clip + '\t' + Stamp + '\t' + copied.string() + "\tcopied\n");
  EXPECT_EQ(ReadWholeFile(copied), ReadWholeFile(clip));

  // A camera that wrote its local time as UTC: read as Paris time, shown as UTC.
  const CliRun rename = RunCliProcess({"rename", "--assume-tz", "Europe/Paris", "--tz", "UTC", "--format", "%H%M", clip});
  EXPECT_EQ(rename.status, 0) << rename.err;
  EXPECT_EQ(rename.out, clip + '\t' + Stamp + '\t' + PathOf("0820.flac") + "\trenamed\n");
  EXPECT_FALSE(fs::exists(clip));
  EXPECT_TRUE(fs::exists(folder / "0820.flac"));
}

TEST_F(CliNamingTest, TzLocalFollowsTheTzVariable) {
  const std::string clip = MakeFlac(folder / "clip.flac", Stamp).string();
  const ScopedEnvVar tz("TZ", "America/New_York");
  const CliRun run = RunCliProcess({"list", "--tz", "local", "--format", "%H%z", clip});
  EXPECT_EQ(run.out, clip + '\t' + Stamp + '\t' + PathOf("06-0400.flac") + '\n');
}

TEST_F(CliNamingTest, ATimeThePatternCannotReadIsSkipped) {
  const std::string odd = MakeFlac(folder / "odd.flac", "soon").string();
  const auto before = Snapshot(folder.path());
  const CliRun run = RunCliProcess({"rename", "--format", "%Y", odd});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, odd + "\tsoon\t\tskipped: creation time not understood\n");
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliNamingTest, BadPatternsZonesAndMisplacedOptionsAreUsageErrors) {
  const std::string clip = MakeFlac(folder / "clip.flac", Stamp).string();
  const auto before = Snapshot(folder.path());
  const std::vector<std::vector<std::string>> commands = {
      {"rename", "--format", "%Y-%q", clip},       {"copy", "--tz", "Mars/Olympus", out.string(), clip},
      {"list", "--assume-tz", "../etc/passwd", clip}, {"rename", clip, "--format"},
      {"rename", "--tz=", clip},                    {"rename", "--explain", clip},
      {"info", "--skip-unset-dates", clip},         {"info", "--tz", "UTC", clip},
      {"info", "--date-from-name", clip},           {"undo", "--date-from-mtime"},
      {"copy", "--format", "%Y/../%d", out.string(), clip}, {"list", "--set-mtime", clip},
      {"rename", "--format", "..", clip},           {"rename", "--format", "%Y\t%m", clip}};
  for (const auto& command : commands) {
    const CliRun run = RunCliProcess(command);
    EXPECT_EQ(run.status, 2) << command[1];
    EXPECT_EQ(run.out, "") << command[1];
    EXPECT_THAT(run.err, HasSubstr("Try 'morvane-cli --help'.")) << command[1];
  }
  EXPECT_THAT(RunCliProcess(commands[0]).err, HasSubstr("%q"));
  EXPECT_THAT(RunCliProcess(commands[1]).err, HasSubstr("unknown time zone 'Mars/Olympus'"));
  // A fault of the pattern is told as one, before any file is read.
  EXPECT_THAT(RunCliProcess(commands[10]).err,
              HasSubstr("--format '%Y/../%d': format has a part \"..\" between \"/\"\n"));
  // The pattern as given, its control characters written as blanks like every field.
  EXPECT_THAT(RunCliProcess(commands[13]).err,
              HasSubstr("--format '%Y %m': format holds the control character U+0009\n"));
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliNamingTest, UnsetDatesAreWarnedOfAndSkippedOnRequest) {
  const std::string epoch = MakeFlac(folder / "epoch.flac", "1970-01-01T00:00:00.000000Z").string();
  const std::string clip = MakeFlac(folder / "clip.flac", Stamp).string();
  const std::string warning = "morvane-cli: " + epoch + ": date looks unset: 1970-01-01T00:00:00.000000Z\n";
  const CliRun list = RunCliProcess({"list", epoch, clip});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.err, warning);

  const auto before = Snapshot(folder.path());
  const CliRun skip = RunCliProcess({"copy", "--skip-unset-dates", out.string(), epoch, clip});
  EXPECT_EQ(skip.status, 0) << skip.err;
  EXPECT_EQ(skip.err, warning);
  EXPECT_EQ(skip.out, epoch + "\t1970-01-01T00:00:00.000000Z\t\tskipped: date looks unset\n" + clip + '\t' + Stamp +
                          '\t' + (out / "2015-06-01T10_20_30.000000Z.flac").string() + "\tcopied\n");
  EXPECT_EQ(Snapshot(out), (std::map<std::string, std::string>{
                               {"2015-06-01T10_20_30.000000Z.flac", ReadWholeFile(clip)}}));
  EXPECT_TRUE(fs::exists(epoch));

  const CliRun rename = RunCliProcess({"rename", epoch});
  EXPECT_EQ(rename.err, warning);
  EXPECT_EQ(rename.out, epoch + "\t1970-01-01T00:00:00.000000Z\t" + PathOf("1970-01-01T00_00_00.000000Z.flac") +
                            "\trenamed (date looks unset)\n");
  EXPECT_NE(Snapshot(folder.path()), before);
  EXPECT_FALSE(fs::exists(epoch));
}

TEST_F(CliNamingTest, ListExplainShowsWhereEachDateCameFrom) {
  const std::string clip = MakeFlac(folder / "clip.flac", Stamp).string();
  const std::string photo = MakeJpegWithExif(folder / "photo.jpg", {{EXIF_TAG_DATE_TIME_ORIGINAL, "2021:07:10 20:39:25"},
                                                                    {EXIF_TAG_SUB_SEC_TIME_ORIGINAL, "5"}})
                                .string();
  const std::string bare = MakeFlac(folder / "bare.flac", "").string();
  const CliRun run = RunCliProcess({"list", "--explain", clip, photo, bare});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            clip + '\t' + Stamp + '\t' + PathOf("2015-06-01T10_20_30.000000Z.flac") + "\tcontainer metadata\t" + Stamp +
                "\tcontainer metadata = " + Stamp + "\n" + photo + "\t2021-07-10T20:39:25.500000\t" +
                PathOf("2021-07-10T20_39_25.500000.jpg") +
                "\tEXIF DateTimeOriginal, SubSecTimeOriginal\t2021:07:10 20:39:25, 5\t"
                "EXIF DateTimeOriginal, SubSecTimeOriginal = 2021:07:10 20:39:25, 5\n" +
                bare + "\t\t\t\t\t\n");

  // The photo's date names it in a real rename.
  const CliRun rename = RunCliProcess({"rename", photo});
  EXPECT_EQ(rename.status, 0) << rename.err;
  EXPECT_FALSE(fs::exists(photo));
  EXPECT_TRUE(fs::exists(folder / "2021-07-10T20_39_25.500000.jpg"));
}

TEST_F(CliNamingTest, CameraFieldsAndShiftsNameFilesAndExplainShowsTheShift) {
  const std::string clip = MakeFlac(folder / "clip.flac", Stamp).string();
  const std::string photo = MakeJpegWithExif(folder / "photo.jpg", {{EXIF_TAG_DATE_TIME_ORIGINAL, "2021:07:10 20:39:25"},
                                                                    {EXIF_TAG_MODEL, "Canon EOS 5D"}})
                                .string();
  // "-1:00" after --shift is its value, not an option.
  const CliRun run = RunCliProcess({"list", "--explain", "--format", "%H%M_%{model}", "--shift", "-1:00", "--shift-for",
                                    "Canon EOS 5D=+0:30", clip, photo});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, clip + '\t' + Stamp + '\t' + PathOf("0920.flac") + "\tcontainer metadata, shifted by -01:00:00\t" +
                         Stamp + "\tcontainer metadata = " + Stamp + "\n" + photo + "\t2021-07-10T20:39:25.000000\t" +
                         PathOf("2109_Canon EOS 5D.jpg") +
                         "\tEXIF DateTimeOriginal, shifted by +00:30:00\t2021:07:10 20:39:25\t"
                         "EXIF DateTimeOriginal = 2021:07:10 20:39:25\n");

  const auto before = Snapshot(folder.path());
  const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
      {{"rename", "--shift", "1h", clip}, "--shift: the amount must be [+|-][D ]HH:MM[:SS]"},
      {{"rename", "--shift-for", "Cam", clip}, "--shift-for: 'Cam' is not MODEL=AMOUNT"},
      {{"list", "--format", "%{lens}", clip},
       "--format '%{lens}': format field \"%{lens}\" is not one of %{make} %{model} %{name} %{counter}"}};
  for (const auto& [command, message] : refused) {
    const CliRun bad = RunCliProcess(command);
    EXPECT_EQ(bad.status, 2) << command[1];
    EXPECT_THAT(bad.err, HasSubstr(message));
  }
  EXPECT_EQ(Snapshot(folder.path()), before);
}

TEST_F(CliNamingTest, DatesFromNamesAndModificationTimesAreOptInAndRecordedOffsetsNameFiles) {
  const std::string named = MakeFlac(folder / "VID_20210410_104400.flac", "").string();
  const std::string plain = MakeFlac(folder / "plain.flac", "").string();
  fs::last_write_time(plain, fs::file_time_type::clock::from_sys(std::chrono::sys_seconds{std::chrono::sys_days{std::chrono::year{2020} / 2 / 29}}));
  EXPECT_EQ(RunCliProcess({"list", named, plain}).out, named + "\t\t\n" + plain + "\t\t\n");
  const CliRun run = RunCliProcess({"list", "--date-from-name", "--date-from-mtime", "--explain", named, plain});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, named + "\t2021-04-10T10:44:00\t" + PathOf("2021-04-10T10_44_00.flac") +
                         "\tfile name\t2021-04-10T10:44:00\tfile name = 2021-04-10T10:44:00; file modification time = " +
                         FileTimeText(named) + "\n" + plain + "\t2020-02-29T00:00:00.000000Z\t" +
                         PathOf("2020-02-29T00_00_00.000000Z.flac") +
                         "\tfile modification time\t2020-02-29T00:00:00.000000Z\t"
                         "file modification time = 2020-02-29T00:00:00.000000Z\n");

  // "recorded" is no zone name but each file's own offset, UTC where there is none.
  const std::string clip = MakeFlac(folder / "clip.flac", Stamp).string();
  EXPECT_EQ(RunCliProcess({"list", "--tz", "recorded", clip}).out,
            clip + '\t' + Stamp + '\t' + PathOf("2015-06-01T10_20_30.000000+00_00.flac") + '\n');
}

}  // namespace
