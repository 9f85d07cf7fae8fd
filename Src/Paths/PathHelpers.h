// UTF-16 path helpers, file existence and size, the executable's folder, the current
// directory, environment variables and the file-size text. Positions count from 1.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

bool IsSurrogate(char16_t unit);
// 0: outside the text or no surrogate; 1: lead surrogate; 2: trail surrogate.
int SurrogateType(std::u16string_view text, std::size_t position);

// The text with the path delimiter appended unless it already ends with one.
std::u16string IncludeTrailingBackslashW(std::u16string_view text);
// Position (from 1) of the last unit that occurs in `delimiters` (zero units never match), or 0.
std::size_t LastDelimiterW(std::u16string_view delimiters, std::u16string_view text);
// Up to and including the last path delimiter; empty when there is none.
std::u16string ExtractFilePathW(std::u16string_view path);
// Behind the last path delimiter; the whole path when there is none.
std::u16string ExtractFileNameW(std::u16string_view path);

// True for an existing regular file (not a folder, pipe, socket or device).
bool FileExistsW(const std::u16string& path);
// Size in bytes, or -1 for a missing file or a folder.
std::int64_t FileSizeByNameW(const std::u16string& path);
std::u16string ExpandFileNameW(const std::u16string& path);
std::u16string GetExeFileNameW();
// The executable's folder, ending with the path delimiter.
std::u16string GetExeFolder();
std::u16string GetCurrentDirW();
bool SetCurrentDirW(const std::u16string& folder);
std::u16string GetEnvVarW(const std::u16string& name);

// "%.2f GB", "%.2f MB", "%.2f KB" above each bound, else "%d Byte".
std::string SizeToStr(std::int64_t bytes);

// Narrow (system code page) counterparts used by the application.
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
bool FileExists(const std::string& path);
