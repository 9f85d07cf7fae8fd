#include "cli/HelpText.h"

#include "cli/CommandLine.h"

namespace {

constexpr std::string_view kDescription = R"help(Renames or copies media files so that each new name is the creation time that the
file's own container metadata records (the container-level creation_time entry, as
the file stores it). When a file has none, the first of these that it holds is used:
a phone's com.apple.quicktime.creationdate, a video or audio stream's creation_time,
the DATE_RECORDED or DATE_UTC tag, a photo's EXIF date, a PNG's tIME chunk.
The new name is the folder, the creation time with every ":" replaced by "_", and
the file's extension: /v/a.mp4 with the creation time 2015-06-01T10:20:30.000000Z
becomes /v/2015-06-01T10_20_30.000000Z.mp4. A photo (JPEG, HEIC/HEIF) whose
container gives no creation time takes the date of its EXIF block
(DateTimeOriginal, else DateTimeDigitized, with their fraction and offset), in the
same form: 2021-07-10T20:39:25.770000+01:00, without zone when EXIF has no offset.

Commands:
  list FILE...       One line per FILE, in argument order:
                       path TAB creation time TAB name a rename would give
                     The creation time is empty when none was found; the name is
                     empty when a rename would skip or refuse the file. For a FILE
                     that cannot be read the line has empty fields and the reason
                     goes to standard error ("morvane-cli: FILE: not a regular file").
  rename FILE...     Renames each FILE in its own folder. Never replaces an
                     existing file.
  copy DIR FILE...   Copies each FILE into the folder DIR, which must exist.
                     A file that DIR already holds under the new name is never
                     replaced: when it has the same bytes the FILE is skipped
                     ("skipped: already copied"), otherwise the copy fails
                     ("failed: a different file has that name") unless --unique
                     or --replace is given. Never replaces a file that an earlier
                     FILE of the same command wrote, another FILE of the same
                     command, or the source itself.
                     rename and copy write one line per FILE, in argument order, as
                     soon as the FILE is done:
                       path TAB creation time TAB new name TAB result
                     The result is one of:
                       renamed
                       moved with FILE
                       copied
                       copied (replaced an existing file)
                       failed: REASON
                       skipped: already named
                       skipped: already copied
                       skipped: same as FILE
                       skipped: file not found
                       skipped: not a regular file
                       skipped: cannot read: REASON
                       skipped: no creation time
                       skipped: creation time not understood
                       skipped: date looks unset
                       skipped: date out of range
                     A creation time that holds "/" or a control character, or
                     that is "." or "..", is refused and its new name is empty:
                       failed: creation time is not a valid file name
                     Otherwise the new name is shown also when the rename or copy
                     failed.
  info FILE          Writes the file information text of FILE, one line per
                     entry. When FILE cannot be opened, the reason goes to
                     standard error.
  undo [RUN]         Puts back the files of the most recent rename that is not
                     undone yet (or of the run RUN, an id that undo --list shows):
                     each file returns to its old name unless something else has
                     taken that name since; nothing is ever replaced, and the
                     folders the rename made go when empty again. One line per
                     file, last renamed first:
                       current path TAB old path TAB result
                     The result is "restored" or "skipped: REASON" (for a file
                     moved or renamed since, one changed since (written to, or
                     another file saved under its name), or an old name that is
                     taken). An empty RUN, or one the journal does not hold, is
                     a usage error. "undo" after "rename a.mp4" gives a.mp4 its
                     name back.
  undo --list        One line per journalled rename run, oldest first:
                       run id TAB time (UTC) TAB file count TAB undone or not undone
                         TAB folder
                     The folder is the one the files were in; files from several
                     folders give their number and the deepest folder that holds
                     them all ("3 folders within /home/me/Videos"), or only their
                     number when they share no folder but the root ("2 folders").
                     Every rename that renames at least one file (here or in the
                     window) is journalled in $XDG_STATE_HOME/morvane/undo-journal
                     (else ~/.local/state/morvane/undo-journal). A journal that
                     cannot be written does not stop the rename; the reason goes
                     to standard error once.
  streams FILE       Writes the media tools' report of FILE: its size, its
                     duration and a few lines for each video and audio stream,
                     as the window's log view shows them.
  frames [--backward] [--keys] FILE
                     Steps through the first video stream of FILE and writes one
                     line per frame:
                       time in microseconds TAB K or - (key frame) TAB picture type
                     Forward from the first frame to the last; --backward from the
                     last frame to the first; --keys steps from key frame to key
                     frame. The message that ended the stepping goes to standard
                     error. Exit status 0 when at least one frame came.
  frame FILE SECONDS OUT
                     Writes the first frame at or after SECONDS (a decimal
                     number) as a picture at its display size: a Windows bitmap
                     when OUT ends in .bmp (any letter case), else JPEG. OUT that
                     is FILE itself (under any name) or not a regular file (a
                     folder, a device, a pipe) is a usage error; a picture that
                     is replaced keeps its permissions.
  --help, -h         Shows this text.
  --version          Shows the program's version and, for each media library, the
                     version it runs with (or "not loaded: REASON") and the one
                     it was built with.

Options:
  -n, --dry-run      rename and copy: check every FILE exactly as for real (targets
                     that exist, refused names, two FILEs with one target) and
                     report the skip or failure it would meet, or one of
                       would rename
                       would copy
                       would copy (replacing an existing file)
                     Nothing on disk changes.
  --unique           rename and copy: when the new name is taken (by a file that
                     was there, or by an earlier FILE of the same command), use
                     the first free of NAME_1.EXT, NAME_2.EXT, ...; nothing is
                     ever replaced: "rename --unique a.mp4 b.mp4" with two clips
                     of the same second gives 2015-06-01T10_20_30.000000Z.mp4
                     and 2015-06-01T10_20_30.000000Z_1.mp4. A copy whose name,
                     or numbered name, holds the same bytes already is skipped.
  --set-mtime        rename and copy: the renamed or copied file's modification
                     time becomes its creation time, shifted by --shift or
                     --shift-for: the corrected recording time (a file whose
                     creation time is not understood is skipped). A file that
                     does not take it (another user's file, a time beyond what
                     its file system holds) is renamed or copied all the same:
                     "renamed (modification time not set: REASON)". Without it
                     a copy keeps the modification and access times of FILE.
  --replace          copy: a different file under the new name in DIR is replaced
                     ("copied (replaced an existing file)"); without it that file
                     is kept and the copy fails. Not with --unique.
  -j N, --jobs N     list, rename and copy: read the creation times on N threads
                     at once (default: one per processor). Lines are still
                     written, and files renamed or copied, one at a time in
                     argument order. Threads the system refuses leave their
                     files to the others (or to the program's own thread); a
                     line on standard error says how many ran.
  --full-probe       list, rename and copy: read each file the way the window
                     does, probing its streams and searching the whole
                     information text. By default the creation time is read
                     from the container's header, and only a file whose header
                     has none is probed; the results are the same, the default
                     is faster.
  -r, --recursive    list, rename and copy: a FILE that is a folder stands for the
                     media files below it, at any depth, sorted by path byte by
                     byte (hidden files and folders, whose names begin with ".",
                     and symbolic links are left out). Media files end in one of
                     the video, audio and picture extensions the window's file
                     dialog offers (.mp4 .mov .mkv .mts .mp3 .jpg .heic .png and
                     more), letter case ignored; how many other files were left
                     out, and of which kinds, is said at the end on standard
                     error ("left out 14 files that are not media: .xmp 9, .txt
                     5"; sidecars of media files are not counted).
                     Without it a folder gives "skipped: not a regular file (a
                     folder: use -r)". A folder below that cannot be read goes to
                     standard error and gives exit status 1: "rename -r ~/Videos"
                     renames every clip under ~/Videos.
  --format PATTERN   list, rename and copy: the new name (before the extension)
                     is PATTERN with %Y year, %m month, %d day, %H hour, %M
                     minute, %S second, %f microseconds, %z offset (+HHMM, empty
                     for a time without zone), %% one "%": "--format %Y%m%d_%H%M%S"
                     names a clip of 2015-06-01T10:20:30Z 20150601_102030.mp4.
                     Named fields: %{make} and %{model} the camera the file
                     names (a clip's make and model tags, a photo's EXIF Make and
                     Model), %{name} the file's own name without extension,
                     %{counter} the FILE's place in the command, from 1
                     (%{counter:3} gives 001); %{model|NoModel} gives NoModel
                     where the file names no model. A field that gives nothing
                     takes the separators (" _-.") on one side of it along:
                     "%Y_%{model}_%H" gives 2015_10 without a model. A "/" or
                     a character no name may hold inside a value becomes "_".
                     Any other field, or a control character, is a usage error.
                     A "/" makes folders by date:
                     "copy --format %Y/%m/%Y%m%d_%H%M%S OUT a.mp4" writes
                     OUT/2015/06/20150601_102030.mp4, and rename moves the file
                     into such folders below its own folder. Folders are made as
                     needed; an empty part between "/", and a PATTERN or part
                     that is ".", ".." or %z alone, is a usage error, and a file
                     whose folders would pass through a symbolic link fails
                     ("failed: folder is a symbolic link: PATH"). undo removes
                     the folders a rename made once they are empty again.
  --tz ZONE          list, rename and copy: the name shows the time in ZONE (an
                     IANA name such as Europe/Berlin, or "local": local time as
                     the C library keeps it, following TZ as a zone name, a zone
                     file or a rule such as JST-9, else the machine's zone; a
                     zone file that is not a regular file of at most 64 KiB in
                     the zone file format is a usage error); without --format
                     it is the
                     ISO form with the zone's offset: "--tz Europe/Berlin" gives
                     2015-06-01T12_20_30.000000+02_00.mp4. A time without zone
                     is used as written unless --assume-tz names its zone.
                     "--tz recorded" shows each time in the offset that the
                     device wrote beside its date (com.apple.quicktime.creationdate,
                     EXIF OffsetTimeOriginal), in UTC where it wrote none.
  --assume-tz ZONE   list, rename and copy: a creation time marked UTC ("Z") or
                     without zone was written by a camera in ZONE's local time:
                     "--assume-tz Europe/Paris --tz UTC" names a clip marked
                     2015-06-01T10:20:30Z 2015-06-01T08_20_30.000000+00_00.mp4.
                     With these three options, a creation time that is not one of
                     the ISO 8601 forms the media libraries write is skipped
                     ("skipped: creation time not understood"), and so is one
                     outside the years 1 to 9999 once its zone is applied. An
                     unknown ZONE is a usage error.
  --shift AMOUNT     list, rename and copy: a camera clock that was wrong; the
                     name takes each creation time moved by AMOUNT,
                     [+|-][D ]HH:MM[:SS]: "--shift -1:00" one hour back,
                     "--shift '+1 02:30'" one day and two and a half hours on.
                     The zone options apply after it; list --explain shows it
                     after the source ("..., shifted by -01:00:00").
  --shift-for MODEL=AMOUNT
                     list, rename and copy: the files whose camera model is
                     exactly MODEL take AMOUNT instead of --shift; may be given
                     once per model. An AMOUNT of another form is a usage error.
  --skip-unset-dates list, rename and copy: a date that looks unset (before 1990,
                     exactly 1980-01-01, 2000-01-01 or 2001-01-01 at 00:00:00 UTC,
                     or more than a day ahead) is skipped ("skipped: date looks
                     unset"): "rename --skip-unset-dates *.mp4" leaves a clip of
                     1970-01-01T00:00:00Z alone. Without it such a file is renamed
                     or copied, and every such date gets a warning on standard
                     error ("morvane-cli: FILE: date looks unset: TIME").
  --date-from-name   list, rename and copy: a file that holds no date takes the
                     date and time in its name (IMG_20210410_104400.jpg,
                     PXL_20210410_104400123.mp4, 2021-04-10 10.44.00.jpg,
                     20210410_104400.mp4 give 2021-04-10T10:44:00, without zone).
  --date-from-mtime  list, rename and copy: a file that holds no date, and has
                     none in its name with --date-from-name, takes its
                     modification time in UTC; one outside the years 1 to 9999
                     is skipped ("skipped: date out of range").
  --no-companions    rename and copy: without it, the files that belong to a media
                     file go with it under the same new name: its sidecars
                     (NAME.xmp, NAME.EXT.xmp, NAME.AAE, NAME.THM, NAME.LRV,
                     NAME.SRT, any letter case) and a Live Photo's clip
                     (IMG_1234.MOV beside IMG_1234.HEIC or .JPG), shown as
                     "renamed (with IMG_1234.AAE)" and undone with it. When a
                     companion's new name is taken nothing moves ("failed: new
                     name of a companion is taken: NAME"); a FILE that is a
                     companion of another FILE goes with it ("skipped: moves
                     with NAME").
  --explain          list: three more fields per line, where the creation time
                     came from ("container metadata", the EXIF fields of a photo,
                     ...), the raw text it was read from, and every date the file
                     holds as "SOURCE = TEXT; ...": "list --explain a.jpg" adds
                     "EXIF DateTimeOriginal, OffsetTimeOriginal",
                     "2021:07:10 20:39:25, +01:00" and "EXIF DateTimeOriginal,
                     OffsetTimeOriginal = 2021:07:10 20:39:25, +01:00".
  -h, --help         After a command: shows that command's usage and options.
  --                 Every argument after it is an operand (FILE, DIR, RUN, ...),
                     for every command. Before it, every argument that begins with
                     "-" is an option, wherever it stands, short options may be
                     bundled ("list -rj2"), and an unknown option is a usage error.

Every control character (tab, CR, LF, ESC, ...) inside a path or creation time is
written as a blank, so that each file gives exactly one line. On a terminal, rename,
copy and list show their progress on standard error ("Reading 82 of 300"; a copy adds
its bytes, "Copying 82 of 300, 120 MiB of 666 MiB"), and rename and copy end with a
count ("136 renamed, 1144 skipped, 0 failed", "1768 copied (666 MiB), 12 skipped, 0
failed"); nothing of either goes to a pipe or a file. A date that looks unset is
warned of beside its row. Copies are written beside their targets under temporary names, made durable
together, and only then given their names: after a crash or power loss a target is
either whole or not there, and the next copy into that folder removes the temporary
files left behind and says so on standard error. SIGINT or SIGTERM ends a run after the lines of
the files that were done, without a partial copy, and says "interrupted after N of M
files" (exit status 130 or 143); a file
being read at that moment gets no line, and info, streams, frames and frame stop
at once without further output.

The media libraries are loaded from the folder "LibAV" beside this program, and
from the system's library search path when they are not there.

Exit status:
  0  every file was listed, renamed, copied (also without the modification time
     of --set-mtime) or skipped (no creation time, already its name, already
     copied, a creation time not understood, a date that looks unset, a date out
     of range); info succeeded; undo put every file back
  1  a rename or copy failed, a FILE could not be read (missing, not a regular
     file, unreadable), info could not open FILE, or standard output could not be
     written (the reason goes to standard error); streams, frames or frame could
     not open FILE or give what was asked; undo skipped a file or found no run
     to undo
  2  usage error (also an undo RUN that names no run, or a frame OUT that may not
     be written)
  3  the media libraries cannot be loaded (the loader's message goes to standard
     error)
  4  the copy folder DIR is not there or not a folder
)help";

}  // namespace

const std::string& HelpText() {
  // The usage lines come from the option table, so that they list every option.
  static const std::string text = "Usage:\n" + UsageLines() +
                                  "  morvane-cli COMMAND --help\n"
                                  "  morvane-cli --help\n"
                                  "  morvane-cli --version\n"
                                  "\n" + std::string(kDescription);
  return text;
}
