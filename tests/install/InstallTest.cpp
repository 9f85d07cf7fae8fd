// Installs the build into a temporary prefix, as a package would, and checks what landed
// there: the files and their places, the desktop entry, the icon and the manual page.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QXmlStreamReader>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "install/HelpWords.h"
#include "cli/CliProcess.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;

// The lines of a rendered manual page from the heading `name` to the next heading.
std::vector<std::string> Section(const std::string& rendered, const std::string& name) {
  std::vector<std::string> section;
  bool inside = false;
  for (const std::string& line : Lines(rendered)) {
    const bool heading = !line.empty() && line.front() != ' ';
    if (heading)
      inside = line == name;
    else if (inside)
      section.push_back(line);
  }
  return section;
}

// `word` stands on its own somewhere in `text`: not as part of a longer word or option.
bool HasWord(const std::string& text, const std::string& word) {
  const auto partOfWord = [](char character) {
    return std::isalnum(static_cast<unsigned char>(character)) || character == '-';
  };
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    if ((at == 0 || !partOfWord(text[at - 1])) && (end == text.size() || !partOfWord(text[end]))) return true;
  }
  return false;
}

// Every usage line of the help stands in the page's synopsis, every option somewhere in the
// page, every exit status as an entry of its own.
void ExpectPageCoversHelp(const std::string& rendered, const HelpWords& words) {
  std::vector<std::string> synopsis;
  for (const std::string& line : Section(rendered, "SYNOPSIS")) synopsis.push_back(CollapseBlanks(line));
  for (const std::string& usage : words.UsageLines) EXPECT_THAT(synopsis, Contains(usage));
  for (const std::string& option : words.Options) EXPECT_TRUE(HasWord(rendered, option)) << option;
  std::set<std::string> statusEntries;
  for (const std::string& line : Section(rendered, "EXIT STATUS")) statusEntries.insert(FirstWord(line));
  for (const std::string& status : words.ExitStatuses) EXPECT_THAT(statusEntries, Contains(status));
}

std::map<std::string, std::string> DesktopEntryKeys(const std::string& entry) {
  std::map<std::string, std::string> keys;
  bool inGroup = false;
  for (const std::string& line : Lines(entry)) {
    if (line.starts_with('['))
      inGroup = line == "[Desktop Entry]";
    else if (inGroup && line.find('=') != std::string::npos)
      keys[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
  }
  return keys;
}

class InstalledTree : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Wide enough that no synopsis line or option wraps; a locale that every system has.
    setenv("MANWIDTH", "250", 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    prefix_ = std::make_unique<TempFolder>();
    install_ = RunCliProcess({"--install", MORVANE_BUILD_DIR, "--prefix", prefix_->path().string()}, MORVANE_CMAKE);
  }
  static void TearDownTestSuite() { prefix_.reset(); }
  void SetUp() override { ASSERT_EQ(install_.status, 0) << install_.out << install_.err; }

  static fs::path Installed(const std::string& relative) { return prefix_->path() / relative; }
  static CliRun RenderManualPage(const std::string& program = "morvane-cli") {
    return RunCliProcess({"--warnings", "-E", "UTF-8", "-l", Installed("share/man/man1/" + program + ".1").string()},
                         MORVANE_MAN);
  }

 private:
  static inline std::unique_ptr<TempFolder> prefix_;
  static inline CliRun install_;
};

TEST_F(InstalledTree, PutsEveryFileWhereItBelongsAndNothingElse) {
  std::map<std::string, fs::perms> files;
  for (const auto& entry : fs::recursive_directory_iterator(Installed("")))
    if (!entry.is_directory()) files[fs::relative(entry.path(), Installed("")).string()] = entry.status().permissions();

  const fs::perms program = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec;
  const fs::perms data =
      fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
  EXPECT_EQ(files, (std::map<std::string, fs::perms>{{"bin/morvane", program},
                                                     {"bin/morvane-cli", program},
                                                     {"share/applications/morvane.desktop", data},
                                                     {"share/icons/hicolor/scalable/apps/morvane.svg", data},
                                                     {"share/man/man1/morvane-cli.1", data},
                                                     {"share/man/man1/morvane.1", data}}));
}

TEST_F(InstalledTree, DesktopEntryPassesTheValidatorAndStartsTheInstalledWindowWithItsIcon) {
  const fs::path entry = Installed("share/applications/morvane.desktop");
  const CliRun validation = RunCliProcess({entry.string()}, MORVANE_DESKTOP_FILE_VALIDATE);
  EXPECT_EQ(validation.status, 0) << validation.out << validation.err;
  // Hints are advice only: the entry is listed both under audio/video and under utilities
  // on purpose, which the validator mentions as a hint.
  for (const std::string& line : Lines(validation.out + validation.err)) EXPECT_THAT(line, HasSubstr(": hint: "));

  std::map<std::string, std::string> keys = DesktopEntryKeys(ReadWholeFile(entry));
  EXPECT_EQ(keys["Type"], "Application");
  EXPECT_EQ(keys["Name"], "Morvane");
  EXPECT_FALSE(keys["Comment"].empty());
  EXPECT_EQ(keys["Terminal"], "false");
  // The window takes the local files that "Open with" hands it.
  EXPECT_EQ(keys["Exec"], "morvane %F");
  EXPECT_TRUE(fs::is_regular_file(Installed("bin/" + FirstWord(keys["Exec"]))));
  std::set<std::string> types;
  std::istringstream typeList(keys["MimeType"]);
  for (std::string type; std::getline(typeList, type, ';');) types.insert(type);
  EXPECT_THAT(types, IsSupersetOf({"video/mp4", "video/quicktime", "video/x-matroska", "audio/mp4", "audio/mpeg",
                                   "image/jpeg"}));
  EXPECT_TRUE(fs::is_regular_file(Installed("share/icons/hicolor/scalable/apps/" + keys["Icon"] + ".svg")))
      << keys["Icon"];
  std::set<std::string> categories;
  std::istringstream list(keys["Categories"]);
  for (std::string category; std::getline(list, category, ';');) categories.insert(category);
  EXPECT_THAT(categories, IsSupersetOf({"AudioVideo", "Utility"}));
}

TEST_F(InstalledTree, IconIsAWellFormedSquareSvgPicture) {
  const QByteArray bytes =
      QByteArray::fromStdString(ReadWholeFile(Installed("share/icons/hicolor/scalable/apps/morvane.svg")));
  QXmlStreamReader reader(bytes);
  ASSERT_TRUE(reader.readNextStartElement()) << reader.errorString().toStdString();
  EXPECT_EQ(reader.name().toString().toStdString(), "svg");
  EXPECT_EQ(reader.namespaceUri().toString().toStdString(), "http://www.w3.org/2000/svg");
  const QStringList viewBox = reader.attributes().value("viewBox").toString().split(' ');
  ASSERT_EQ(viewBox.size(), 4);
  EXPECT_GT(viewBox[2].toDouble(), 0);
  EXPECT_EQ(viewBox[2], viewBox[3]);
  int elements = 0;
  while (!reader.atEnd())
    if (reader.readNext() == QXmlStreamReader::StartElement) ++elements;
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << " at line " << reader.lineNumber();
  EXPECT_GT(elements, 0);
}

TEST_F(InstalledTree, ManualPageRendersWithoutWarningsAndCarriesTheVersion) {
  const CliRun rendered = RenderManualPage();
  EXPECT_EQ(rendered.status, 0);
  EXPECT_EQ(rendered.err, "");
  for (const char* heading : {"NAME", "SYNOPSIS", "DESCRIPTION", "COMMANDS", "OPTIONS", "EXIT STATUS", "EXAMPLES"})
    EXPECT_THAT(Lines(rendered.out), Contains(heading));
  EXPECT_THAT(Section(rendered.out, "NAME"), Contains(HasSubstr("morvane-cli - ")));
  EXPECT_THAT(rendered.out, HasSubstr("Morvane " MORVANE_VERSION));
}

// The page is written by hand; this holds it against what the installed program's --help
// says, so that a new command, option or exit status cannot be left out of it.
TEST_F(InstalledTree, ManualPageCoversEveryCommandOptionAndExitStatusOfTheHelp) {
  const CliRun help = RunCliProcess({"--help"}, Installed("bin/morvane-cli").string());
  ASSERT_EQ(help.status, 0) << help.err;
  const HelpWords words = ReadHelpWords(help.out);
  // The reading of the help must find at least what the help held when the page was written.
  ASSERT_THAT(words.Commands, IsSupersetOf({"list", "rename", "copy", "info"}));
  ASSERT_THAT(words.Options, IsSupersetOf({"--help", "-h"}));
  ASSERT_THAT(words.ExitStatuses, IsSupersetOf({"0", "1", "2"}));

  const CliRun rendered = RenderManualPage();
  ASSERT_EQ(rendered.status, 0) << rendered.err;
  ExpectPageCoversHelp(rendered.out, words);
  std::set<std::string> commandEntries;
  for (const std::string& line : Section(rendered.out, "COMMANDS")) commandEntries.insert(FirstWord(line));
  for (const std::string& command : words.Commands) EXPECT_THAT(commandEntries, Contains(command));
}

TEST_F(InstalledTree, TheWindowProgramsPageCoversItsHelpAndTheHelpAndVersionNeedNoWindow) {
  // No display is named: the help and the version come before any window is made.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  const std::string program = Installed("bin/morvane").string();
  const CliRun version = RunCliProcess({"--version"}, program);
  EXPECT_EQ(version.status, 0) << version.err;
  EXPECT_EQ(version.out, "morvane " MORVANE_VERSION "\n");
  const CliRun wrong = RunCliProcess({"--frobnicate", "a.mp4"}, program);
  EXPECT_EQ(wrong.status, 2);
  EXPECT_EQ(wrong.err, "morvane: unknown option '--frobnicate'\nTry 'morvane --help'.\n");

  const CliRun help = RunCliProcess({"--help"}, program);
  ASSERT_EQ(help.status, 0) << help.err;
  const HelpWords words = ReadHelpWords(help.out, "morvane");
  ASSERT_THAT(words.Options, IsSupersetOf({"--help", "-h", "--version"}));
  ASSERT_EQ(words.UsageLines.size(), 3u);
  const CliRun rendered = RenderManualPage("morvane");
  ASSERT_EQ(rendered.status, 0);
  EXPECT_EQ(rendered.err, "");
  EXPECT_THAT(rendered.out, HasSubstr("Morvane " MORVANE_VERSION));
  ASSERT_THAT(words.ExitStatuses, IsSupersetOf({"0", "2"}));
  ExpectPageCoversHelp(rendered.out, words);
}

TEST_F(InstalledTree, InstalledCliListsAMediaFileWithTheSystemsLibraries) {
  TempFolder folder;
  const std::string clip = MakeMediaWithCreationTime(folder / "clip.mp4", "2021-04-10T10:44:00.000000Z").string();
  const CliRun run = RunCliProcess({"list", clip}, Installed("bin/morvane-cli").string());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            clip + "\t2021-04-10T10:44:00.000000Z\t" + (folder / "2021-04-10T10_44_00.000000Z.mp4").string() + "\n");
}

}  // namespace
