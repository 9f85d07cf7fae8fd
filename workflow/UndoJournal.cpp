#include "workflow/UndoJournal.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <random>
#include <string_view>
#include <utility>

#include "platform/AppendFile.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

constexpr std::string_view RenameKind = "rename";
constexpr std::string_view UndoneKind = "undone";
constexpr std::string_view FolderKind = "folder";
constexpr std::string_view JournalFolder = "morvane";
constexpr std::string_view JournalName = "undo-journal";
// The last field of every line: a line cut short anywhere before it does not read as a record.
constexpr std::string_view EndMark = "end";
constexpr const char* UtcSecondPattern = "%04d-%02u-%02uT%02u:%02u:%02uZ";

std::string Environment(const char16_t* name) { return platform::WideToNarrow(platform::GetEnvVar(name)); }

// Tabs, line breaks and backslashes inside a path would break the line into wrong fields.
std::string Escape(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\t': escaped += "\\t"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

bool Unescape(std::string_view text, std::string& plain) {
  plain.clear();
  for (std::size_t index = 0; index < text.size(); ++index) {
    if (text[index] != '\\') {
      plain += text[index];
      continue;
    }
    if (++index == text.size()) return false;
    switch (text[index]) {
      case '\\': plain += '\\'; break;
      case 't': plain += '\t'; break;
      case 'n': plain += '\n'; break;
      case 'r': plain += '\r'; break;
      default: return false;
    }
  }
  return true;
}

std::string JoinRecord(std::initializer_list<std::string_view> fields) {
  std::string line;
  for (const std::string_view field : fields) (line += field) += '\t';
  return (line += EndMark) += '\n';
}

// The fields of a whole line, without its end mark; nothing for a line without one.
std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (fields.back() != EndMark) return {};
  fields.pop_back();
  return fields;
}

bool ParseUnsigned(std::string_view text, std::uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  value = 0;
  for (const char digit : text) {
    if (digit < '0' || digit > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(digit - '0');
  }
  return true;
}

// "device:inode"
bool ParseIdentity(std::string_view text, TJournalRecord& record) {
  const std::size_t colon = text.find(':');
  return colon != std::string_view::npos && ParseUnsigned(text.substr(0, colon), record.Device) &&
         ParseUnsigned(text.substr(colon + 1), record.Inode);
}

std::string FormatTime(std::chrono::system_clock::time_point moment, const char* pattern) {
  using namespace std::chrono;
  const auto second = floor<seconds>(moment);
  const year_month_day date{floor<days>(second)};
  const hh_mm_ss clock{second - floor<days>(second)};
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, pattern, static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<unsigned>(clock.hours().count()),
                static_cast<unsigned>(clock.minutes().count()), static_cast<unsigned>(clock.seconds().count()));
  return buffer;
}

// The start time and a random tail, so that two runs of the same second still differ.
std::string NewRunId(std::chrono::system_clock::time_point start) {
  std::random_device random;
  char tail[8];
  std::snprintf(tail, sizeof tail, "%06x", static_cast<unsigned>(random() & 0xFFFFFF));
  return FormatTime(start, "%04d%02u%02u-%02u%02u%02u-") + tail;
}

TJournalRun& RunFor(std::vector<TJournalRun>& runs, std::string_view id) {
  auto found = std::find_if(runs.begin(), runs.end(), [id](const TJournalRun& run) { return run.Id == id; });
  if (found != runs.end()) return *found;
  runs.push_back(TJournalRun{std::string(id), {}, {}, false, {}});
  return runs.back();
}

// One complete line into `runs`; a line that is not a record is passed over.
void ReadLine(std::string_view line, std::vector<TJournalRun>& runs) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() == 3 && fields[0] == UndoneKind && !fields[1].empty()) {
    RunFor(runs, fields[1]).Undone = true;
    return;
  }
  std::string folder;
  if (fields.size() == 4 && fields[0] == FolderKind && !fields[1].empty() && Unescape(fields[3], folder) &&
      !folder.empty()) {
    TJournalRun& run = RunFor(runs, fields[1]);
    if (run.Time.empty()) run.Time = fields[2];
    run.MadeFolders.push_back(std::move(folder));
    return;
  }
  TJournalRecord record;
  if (fields.size() != 6 || fields[0] != RenameKind || fields[1].empty() || !ParseIdentity(fields[3], record) ||
      !Unescape(fields[4], record.OldPath) || !Unescape(fields[5], record.NewPath) || record.OldPath.empty() ||
      record.NewPath.empty())
    return;
  TJournalRun& run = RunFor(runs, fields[1]);
  if (run.Time.empty()) run.Time = fields[2];
  run.Records.push_back(std::move(record));
}

}  // namespace

std::string DefaultJournalPath() {
  std::string folder = Environment(u"XDG_STATE_HOME");
  if (folder.empty() || folder.front() != '/') {
    const std::string home = Environment(u"HOME");
    if (home.empty()) return {};
    folder = home + "/.local/state";
  }
  if (folder.back() != '/') folder += '/';
  return folder + std::string(JournalFolder) + "/" + std::string(JournalName);
}

TJournalWriter::TJournalWriter(std::string journalPath, std::chrono::system_clock::time_point start)
    : Path_(std::move(journalPath)) {
  Run_.Id = NewRunId(start);
  Run_.Time = FormatTime(start, UtcSecondPattern);
}

void TJournalWriter::RecordRename(const std::string& oldPath, const std::string& newPath) {
  if (Failed_) return;  // one report is enough; the rename goes on regardless
  platform::FileStatus status;
  if (!platform::GetFileStatus(platform::NarrowToWide(newPath), status)) status = {};
  const std::string identity = std::to_string(status.device) + ":" + std::to_string(status.inode);
  Append(JoinRecord({RenameKind, Run_.Id, Run_.Time, identity, Escape(oldPath), Escape(newPath)}));
}

void TJournalWriter::RecordFolder(const std::string& folder) {
  Append(JoinRecord({FolderKind, Run_.Id, Run_.Time, Escape(folder)}));
}

void TJournalWriter::Append(const std::string& line) {
  if (Failed_) return;
  std::string error;
  if (Path_.empty()) {
    error = "no state folder (neither XDG_STATE_HOME nor HOME is set)";
  } else if (!FolderMade_) {
    const std::size_t slash = Path_.rfind('/');
    FolderMade_ = slash == std::string::npos || slash == 0 ||
                  platform::CreateFolders(platform::NarrowToWide(Path_.substr(0, slash)), error);
  }
  if (error.empty() && platform::AppendRecord(platform::NarrowToWide(Path_), line, error)) return;
  Failed_ = true;
  Failure_ = Path_.empty() ? error : Path_ + ": " + error;
}

std::string TJournalWriter::TakeFailure() { return std::exchange(Failure_, {}); }

bool ReadJournal(const std::string& journalPath, std::vector<TJournalRun>& runs, std::string& error) {
  runs.clear();
  std::string bytes;
  platform::FileStatus status;
  if (!platform::GetFileStatus(platform::NarrowToWide(journalPath), status)) return true;
  if (!platform::ReadWholeFile(platform::NarrowToWide(journalPath), bytes, error)) return false;
  // Only lines with their line break are whole: a last line without one was cut short.
  for (std::size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
    ReadLine(std::string_view(bytes).substr(start, end - start), runs);
  // An "undone" line whose run has no record says nothing.
  std::erase_if(runs, [](const TJournalRun& run) { return run.Records.empty(); });
  return true;
}

const TJournalRun* MostRecentRunToUndo(const std::vector<TJournalRun>& runs) {
  const auto found = std::find_if(runs.rbegin(), runs.rend(), [](const TJournalRun& run) { return !run.Undone; });
  return found == runs.rend() ? nullptr : &*found;
}

const TJournalRun* FindRun(const std::vector<TJournalRun>& runs, const std::string& id) {
  const auto found = std::find_if(runs.begin(), runs.end(), [&id](const TJournalRun& run) { return run.Id == id; });
  return found == runs.end() ? nullptr : &*found;
}

bool MarkRunUndone(const std::string& journalPath, const std::string& runId, std::string& error) {
  const std::string line =
      JoinRecord({UndoneKind, runId, FormatTime(std::chrono::system_clock::now(), UtcSecondPattern)});
  return platform::AppendRecord(platform::NarrowToWide(journalPath), line, error);
}

std::string RunListLine(const TJournalRun& run) {
  const std::size_t count = run.Records.size();
  return run.Id + "\t" + run.Time + "\t" + std::to_string(count) + (count == 1 ? " file" : " files") + "\t" +
         (run.Undone ? "undone" : "not undone");
}
