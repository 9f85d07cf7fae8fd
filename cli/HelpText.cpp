#include "cli/HelpText.h"

std::string_view HelpText() {
  return R"(Usage:
  morvane-cli list FILE...
  morvane-cli rename FILE...
  morvane-cli copy DIR FILE...
  morvane-cli info FILE
  morvane-cli --help

Renames or copies media files so that each new name is the creation time that the
file's own container metadata records (the container-level creation_time entry).
The new name is the folder, the creation time with every ":" replaced by "_", and
the file's extension: /v/a.mp4 with the creation time 2015-06-01T10:20:30.000000Z
becomes /v/2015-06-01T10_20_30.000000Z.mp4.

Commands:
  list FILE...       One line per FILE, in argument order:
                       path TAB creation time TAB name a rename would give
                     The creation time is empty when none was found; the name is
                     empty when a rename would skip or refuse the file.
  rename FILE...     Renames each FILE in its own folder. Never replaces an
                     existing file.
  copy DIR FILE...   Copies each FILE into the folder DIR. Replaces a file that
                     was in DIR before, but never one that an earlier FILE of the
                     same command wrote, and never the source itself.
                     rename and copy write one line per FILE, in argument order:
                       path TAB creation time TAB new name TAB result
                     The result is one of:
                       renamed
                       copied
                       failed: REASON
                       skipped: file not found
                       skipped: no creation time
                     A creation time that holds "/" or that is "." or ".." is
                     refused ("failed: creation time is not a valid file name").
                     The new name is shown also when the rename or copy failed.
  info FILE          Writes the file information text of FILE (lines end in
                     CR LF, as the decoder writes them). When FILE cannot be
                     opened, the reason goes to standard error.
  --help, -h         Shows this text.

A tab, CR or LF inside a path or creation time is written as a blank, so that each
file gives exactly one line. Every argument after the command is a FILE (or DIR),
also when it begins with "-".

The media libraries are loaded from the folder "LibAV" beside this program, and
from the system's library search path when they are not there.

Exit status:
  0  every file was listed, renamed, copied or skipped; info succeeded
  1  a rename or copy failed, or info could not open FILE
  2  usage error, or the media libraries cannot be loaded (the loader's message
     goes to standard error)
)";
}
