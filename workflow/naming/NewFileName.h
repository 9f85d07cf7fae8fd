// The new-name rule: folder, then the creation time with ":" made "_", then the extension.
// Names are narrow (UTF-8) text. The delimiters are the system's: "/" on POSIX, where ":"
// and "\" are ordinary name characters, "\" and "/" on Windows. A delimiter byte never
// occurs inside a multi-byte character.
#pragma once
#include <string>
#include <string_view>

// From the last "." to the end, the "." included, in its own letter case; empty when there
// is no "." or when the last "." stands in front of the last delimiter.
std::string ExtractExtension(std::string_view fileName);

// The folder of a rename: `fileName` up to and including its last delimiter, or empty.
std::string RenameFolderOf(std::string_view fileName);
// The folder of a copy: the chosen folder with one delimiter appended unless it ends with
// one. An empty folder therefore names the root folder: callers must not pass one.
std::string CopyFolderOf(std::string_view chosenFolder);

// `folder` as RenameFolderOf or CopyFolderOf give it, used unchanged.
std::string MakeNewFileName(std::string_view folder, std::string_view creationTime, std::string_view fileName);

// False for a creation time that cannot stand as a name inside the folder: empty, ".",
// "..", or holding the delimiter or a control character (U+0000 to U+001F, U+007F).
// Such a name is never used as a target.
bool IsUsableNamePart(std::string_view creationTime);
// With `foldersAllowed` (a name pattern that makes folders by date), each part of `namePart`
// between "/" must be usable as IsUsableNamePart says; without, `namePart` as a whole.
bool IsUsableNamePath(std::string_view namePart, bool foldersAllowed);
// The folders between `folder` (as RenameFolderOf or CopyFolderOf give it) and the file
// name of `target`, which begins with `folder`: "2019/11" for "OUT/2019/11/a.mp4"; empty
// when the file goes straight into `folder`.
std::string FoldersBelow(std::string_view folder, std::string_view target);
