#include "workflow/undo/UndoJournal.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <random>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/AppendFile.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view RenameKind = "rename";
constexpr std::string_view UndoneKind = "undone";
constexpr std::string_view FolderKind = "folder";
constexpr std::string_view JournalFolder = "morvane";
constexpr std::string_view JournalName = "undo-journal";
// The last field of every line: a line cut short anywhere before it does not read as a record.
constexpr std::string_view EndMark = "end";
constexpr const char* UtcSecondPattern = "%04d-%02u-%02uT%02u:%02u:%02uZ";

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

bool ParseSigned(std::string_view text, std::int64_t& value) {
  const bool negative = text.starts_with('-');
  std::uint64_t magnitude = 0;
  if (!ParseUnsigned(negative ? text.substr(1) : text, magnitude) || magnitude > std::uint64_t{INT64_MAX}) return false;
  value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

std::vector<std::string_view> SplitAtColons(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t colon = text.find(':', start);
    parts.push_back(text.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start));
    if (colon == std::string_view::npos) return parts;
    start = colon + 1;
  }
}

// Nanoseconds since 1970 in decimal, as journals have always written the modification
// time, but made and read digit by digit: the count passes 64 bits outside 1678 to 2262.
std::string NanosecondsText(const platform::FileTime& time) {
  constexpr std::int32_t Billion = 1000000000;
  const auto nineDigits = [](std::int32_t value) {
    const std::string digits = std::to_string(value);
    return std::string(9 - digits.size(), '0') + digits;
  };
  if (time.seconds >= 0)
    return time.seconds == 0 ? std::to_string(time.nanoseconds)
                             : std::to_string(time.seconds) + nineDigits(time.nanoseconds);
  if (time.nanoseconds == 0) return std::to_string(time.seconds) + "000000000";
  // Before 1970 the fraction counts forward from its second: -1.25 s is -2 s and 0.75 s.
  const auto whole = static_cast<std::uint64_t>(-(time.seconds + 1));
  return "-" + (whole == 0 ? std::to_string(Billion - time.nanoseconds)
                           : std::to_string(whole) + nineDigits(Billion - time.nanoseconds));
}

bool ParseNanosecondsText(std::string_view text, platform::FileTime& time) {
  constexpr std::uint64_t Billion = 1000000000;
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  // Up to 19 digits of seconds, which a 64-bit count holds, and 9 of nanoseconds.
  if (text.empty() || text.size() > 28) return false;
  const std::size_t split = text.size() > 9 ? text.size() - 9 : 0;
  std::uint64_t whole = 0, fraction = 0;
  if ((split > 0 && !ParseUnsigned(text.substr(0, split), whole)) || !ParseUnsigned(text.substr(split), fraction) ||
      whole > std::uint64_t{INT64_MAX})
    return false;
  const auto seconds = static_cast<std::int64_t>(whole);
  if (!negative)
    time = {seconds, static_cast<std::int32_t>(fraction)};
  else if (fraction == 0)
    time = {-seconds, 0};
  else
    time = {-seconds - 1, static_cast<std::int32_t>(Billion - fraction)};
  return true;
}

// "device:inode:size:modified" (modified in nanoseconds since 1970), or the older
// "device:inode" of journals written before size and time were kept.
bool ParseIdentity(std::string_view text, TJournalRecord& record) {
  const std::vector<std::string_view> parts = SplitAtColons(text);
  if (parts.size() != 2 && parts.size() != 4) return false;
  if (!ParseUnsigned(parts[0], record.Device) || !ParseUnsigned(parts[1], record.Inode)) return false;
  record.HasContents = parts.size() == 4;
  return !record.HasContents || (ParseSigned(parts[2], record.Size) && ParseNanosecondsText(parts[3], record.Modified));
}

bool ParseFolderIdentity(std::string_view text, platform::MadeFolder& folder) {
  const std::vector<std::string_view> parts = SplitAtColons(text);
  return parts.size() == 2 && ParseUnsigned(parts[0], folder.Device) && ParseUnsigned(parts[1], folder.Inode);
}

std::string IdentityText(const platform::FileStatus& status) {
  return std::to_string(status.device) + ":" + std::to_string(status.inode) + ":" + std::to_string(status.size) + ":" +
         NanosecondsText(status.modified);
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

// The runs read so far, with an index by id, so that reading stays linear in the lines.
class TRunCollector {
 public:
  explicit TRunCollector(std::vector<TJournalRun>& runs) : Runs_(runs) {}

  TJournalRun& RunFor(std::string_view id) {
    const auto [found, added] = IndexById_.try_emplace(std::string(id), Runs_.size());
    if (added) Runs_.push_back(TJournalRun{std::string(id), {}, {}, false, {}});
    return Runs_[found->second];
  }

 private:
  std::vector<TJournalRun>& Runs_;
  std::unordered_map<std::string, std::size_t> IndexById_;
};

// One complete line into `runs`; a line that is not a record is passed over.
void ReadLine(std::string_view line, TRunCollector& runs) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() == 3 && fields[0] == UndoneKind && !fields[1].empty()) {
    runs.RunFor(fields[1]).Undone = true;
    return;
  }
  // A made folder: "folder", id, time, "device:inode", path; or the older form without
  // the device and inode.
  platform::MadeFolder folder;
  if ((fields.size() == 4 || fields.size() == 5) && fields[0] == FolderKind && !fields[1].empty() &&
      Unescape(fields.back(), folder.Path) && !folder.Path.empty() &&
      (fields.size() == 4 || ParseFolderIdentity(fields[3], folder))) {
    TJournalRun& run = runs.RunFor(fields[1]);
    if (run.Time.empty()) run.Time = fields[2];
    run.MadeFolders.push_back(std::move(folder));
    return;
  }
  TJournalRecord record;
  if (fields.size() != 6 || fields[0] != RenameKind || fields[1].empty() || !ParseIdentity(fields[3], record) ||
      !Unescape(fields[4], record.OldPath) || !Unescape(fields[5], record.NewPath) || record.OldPath.empty() ||
      record.NewPath.empty())
    return;
  TJournalRun& run = runs.RunFor(fields[1]);
  if (run.Time.empty()) run.Time = fields[2];
  run.Records.push_back(std::move(record));
}

}  // namespace

std::string DefaultJournalPath() {
  const std::string folder = platform::UserStateFolder();
  if (folder.empty()) return {};
  const std::string delimiter(1, platform::PathDelimiter);
  return folder + (platform::IsPathDelimiter(folder.back()) ? "" : delimiter) + std::string(JournalFolder) + delimiter +
         std::string(JournalName);
}

std::string JournalMissingWarning(const std::string& journalPath) {
  return journalPath.empty() ? std::string(JournalNotWritten) + platform::NoUserStateFolder : std::string();
}

TJournalWriter::TJournalWriter(std::string journalPath, std::chrono::system_clock::time_point start)
    : Path_(std::move(journalPath)) {
  Run_.Id = NewRunId(start);
  Run_.Time = FormatTime(start, UtcSecondPattern);
}

void TJournalWriter::RecordRename(const std::string& oldPath, const std::string& newPath) {
  if (Failed_) return;  // one report is enough; the rename goes on regardless
  platform::FileStatus status;
  if (!platform::GetFileStatus(newPath, status)) status = {};
  Append(JoinRecord({RenameKind, Run_.Id, Run_.Time, IdentityText(status), Escape(oldPath), Escape(newPath)}));
}

void TJournalWriter::RecordFolder(const platform::MadeFolder& folder) {
  const std::string identity = std::to_string(folder.Device) + ":" + std::to_string(folder.Inode);
  Append(JoinRecord({FolderKind, Run_.Id, Run_.Time, identity, Escape(folder.Path)}));
}

void TJournalWriter::Append(const std::string& line) {
  if (Failed_) return;
  std::string error;
  if (Path_.empty()) {
    error = platform::NoUserStateFolder;
  } else if (!FolderMade_) {
    const std::size_t slash = Path_.find_last_of(platform::PathDelimiters);
    const auto made =
        slash == std::string::npos || slash == 0 ? TResult{} : platform::CreateFolders(Path_.substr(0, slash));
    FolderMade_ = made.ok();
    error = made.Message();
  }
  if (error.empty()) {
    const auto appended = platform::AppendRecord(Path_, line);
    if (appended) return;
    error = appended.Message();
  }
  Failed_ = true;
  Failure_ = Path_.empty() ? error : Path_ + ": " + error;
}

std::string TJournalWriter::TakeFailure() { return std::exchange(Failure_, {}); }

TResult ReadJournal(const std::string& journalPath, std::vector<TJournalRun>& runs) {
  runs.clear();
  std::string bytes;
  platform::FileStatus status;
  if (!platform::GetFileStatus(journalPath, status)) return {};
  if (TResult read = platform::ReadWholeFile(journalPath, bytes); !read) return read;
  TRunCollector collector(runs);
  // Only lines with their line break are whole: a last line without one was cut short.
  for (std::size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
    ReadLine(std::string_view(bytes).substr(start, end - start), collector);
  // An "undone" line whose run has no record says nothing.
  std::erase_if(runs, [](const TJournalRun& run) { return run.Records.empty(); });
  return {};
}

const TJournalRun* MostRecentRunToUndo(const std::vector<TJournalRun>& runs) {
  const auto found = std::find_if(runs.rbegin(), runs.rend(), [](const TJournalRun& run) { return !run.Undone; });
  return found == runs.rend() ? nullptr : &*found;
}

const TJournalRun* FindRun(const std::vector<TJournalRun>& runs, const std::string& id) {
  const auto found = std::find_if(runs.begin(), runs.end(), [&id](const TJournalRun& run) { return run.Id == id; });
  return found == runs.end() ? nullptr : &*found;
}

TResult MarkRunUndone(const std::string& journalPath, const std::string& runId) {
  const std::string line =
      JoinRecord({UndoneKind, runId, FormatTime(std::chrono::system_clock::now(), UtcSecondPattern)});
  return platform::AppendRecord(journalPath, line);
}

std::string RunFileCount(const TJournalRun& run) {
  const std::size_t count = run.Records.size();
  return std::to_string(count) + (count == 1 ? " file" : " files");
}

std::string RunListLine(const TJournalRun& run) {
  return run.Id + "\t" + run.Time + "\t" + RunFileCount(run) + "\t" + (run.Undone ? "undone" : "not undone");
}
