#!/usr/bin/python3
"""The window end to end, as a user meets it: the real morvane program started with files,
on a real X server under a window manager, read and driven through the accessibility tree.
A camera card is then imported through the real file dialogs (a copy with its plan and the
question before it), and a rename is undone after the program was started again.

Usage: window_e2e.py MORVANE_PROGRAM SCREENSHOT_FOLDER WORK_FOLDER

Each step waits (with a time limit) for what the window must show, so a slow machine only
takes longer; a window that shows something else fails the test. Screenshots of the main
states go to SCREENSHOT_FOLDER.
"""
import filecmp
import os
import re
import shutil
import subprocess
import sys
import time

import pyatspi

WAIT_SECONDS = 40
program, shots, work = sys.argv[1], sys.argv[2], sys.argv[3]
media = os.path.join(work, "media")
os.makedirs(media, exist_ok=True)
card = os.path.join(work, "card")
target = os.path.join(work, "imported")
# The program now on the screen: its process, so that a program that ended is not looked at.
running = {"pid": None}


class Failure(Exception):
    pass


def wait_for(what, probe, seconds=WAIT_SECONDS):
    """Polls probe() until it gives a true value, which is returned; the accessibility tree
    is read afresh each time (an object may register late or change under us)."""
    deadline = time.monotonic() + seconds
    last_error = None
    while time.monotonic() < deadline:
        try:
            value = probe()
            if value:
                return value
        except Exception as error:  # an object that went away while it was read
            last_error = error
        time.sleep(0.2)
    raise Failure("timed out waiting for %s%s" % (what, " (last error: %r)" % last_error if last_error else ""))


def ffmpeg(*arguments):
    subprocess.run(["ffmpeg", "-v", "error", "-nostdin", "-y", *arguments], check=True)


def make_media():
    clip = lambda name, stamp, size="160x120": ffmpeg(
        "-f", "lavfi", "-i", "testsrc=size=%s:rate=25:duration=1" % size, "-pix_fmt", "yuv420p",
        "-metadata", "creation_time=" + stamp, os.path.join(media, name))
    clip("a.mp4", "2015-06-01T10:20:30.000000Z")
    clip("b.mov", "2016-01-02T03:04:05.000000Z")
    ffmpeg("-f", "lavfi", "-i", "testsrc=size=160x120:duration=1", os.path.join(media, "plain.mkv"))
    # A phone held upright: pictures stored on their side, the display matrix turns them.
    clip("coded.mp4", "2017-03-04T05:06:07.000000Z", "128x72")
    ffmpeg("-i", os.path.join(media, "coded.mp4"), "-c", "copy", "-metadata:s:v:0", "rotate=90",
           "-metadata", "creation_time=2017-03-04T05:06:07.000000Z", os.path.join(media, "portrait.mp4"))
    os.remove(os.path.join(media, "coded.mp4"))
    return [os.path.join(media, name) for name in ("a.mp4", "b.mov", "plain.mkv", "portrait.mp4")]


CARD_STAMP = "2019-07-14T09:30:00.000000Z"
CARD_NAME = "20190714_093000"  # the card clip's name under the pattern %Y%m%d_%H%M%S


def make_card():
    """An action camera's card: a clip with its thumbnail (THM) and low-resolution copy (LRV),
    and the same clip's bytes again in a backup folder."""
    clips = os.path.join(card, "DCIM", "100GOPRO")
    os.makedirs(clips)
    os.makedirs(os.path.join(card, "Backup"))
    clip = os.path.join(clips, "GOPR0001.MP4")
    ffmpeg("-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=1", "-pix_fmt", "yuv420p",
           "-metadata", "creation_time=" + CARD_STAMP, clip)
    ffmpeg("-f", "lavfi", "-i", "testsrc=size=64x48", "-frames:v", "1", "-f", "mjpeg",
           os.path.join(clips, "GOPR0001.THM"))
    ffmpeg("-f", "lavfi", "-i", "testsrc=size=80x60:rate=25:duration=1", "-pix_fmt", "yuv420p", "-f", "mp4",
           os.path.join(clips, "GOPR0001.LRV"))
    backup = os.path.join(card, "Backup", "GOPR0001.MP4")
    shutil.copyfile(clip, backup)
    os.makedirs(target)
    return clip, backup


def screenshot(name, seen):
    path = os.path.join(shots, name)
    subprocess.run(["import", "-window", "root", path], check=True)
    print("screenshot %s: %s" % (path, seen), flush=True)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == "Morvane" and app.get_process_id() == running["pid"]:
            app.clear_cache()
            return app
    return None


def find(root, role, name=None, showing=True):
    """The first object below root of that role (and name, when given, exact or a compiled
    pattern); with showing, only one on the screen. Table cells are not searched."""
    queue = [root]
    while queue:
        node = queue.pop(0)
        if node is None:
            continue
        matches = node.getRoleName() == role and (
            name is None or (name.fullmatch(node.name) if hasattr(name, "fullmatch") else node.name == name))
        if matches and (not showing or node.getState().contains(pyatspi.STATE_SHOWING)):
            return node
        if node.getRoleName() != "table":
            queue.extend(node.getChildAtIndex(i) for i in range(node.childCount))
    return None


def find_all(root, role):
    """Every object below root of that role that is on the screen (table cells left out)."""
    found, queue = [], [root]
    while queue:
        node = queue.pop(0)
        if node is None:
            continue
        if node.getRoleName() == role and node.getState().contains(pyatspi.STATE_SHOWING):
            found.append(node)
        if node.getRoleName() != "table":
            queue.extend(node.getChildAtIndex(i) for i in range(node.childCount))
    return found


def text_of(node):
    return node.queryText().getText(0, -1)


def main_window():
    app = application()
    return app and find(app, "filler", "Morvane. v0.2")


def top_window(title):
    """A window of the program's own other than the main one (a dialog, a question), by title."""
    app = application()
    if app is None:
        return None
    for index in range(app.childCount):
        child = app.getChildAtIndex(index)
        if child is not None and child.name == title and child.getState().contains(pyatspi.STATE_SHOWING):
            return child
    return None


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


def program_windows():
    """The X windows of the running program that are on the screen (its menus among them)."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(running["pid"])],
                           capture_output=True, text=True)
    return found.stdout.split()


def type_into(field, text):
    """Types text into a text field as a person does: the field takes the focus, then keys."""
    field.queryComponent().grabFocus()
    wait_for("the focus in the field", lambda: field.getState().contains(pyatspi.STATE_FOCUSED))
    xdotool("type", "--delay", "20", text)
    wait_for("the typed text in the field", lambda: text_of(field) == text)


def choose_in_file_dialog(title, path, shot=None):
    """Types path into the name field of the program's file dialog titled title, then
    presses its accepting button (Open, Choose)."""
    dialog = wait_for("the dialog %r" % title, lambda: top_window(title))
    fields = [f for f in find_all(dialog, "text") if f.getState().contains(pyatspi.STATE_EDITABLE)]
    expect(len(fields) == 1, "one name field in %r, found %d" % (title, len(fields)))
    type_into(fields[0], path)
    if shot:
        screenshot(*shot)
    press("push button", re.compile(r"&?(Open|Choose)"), lambda: top_window(title))
    wait_for("the dialog %r to close" % title, lambda: top_window(title) is None)


def control(role, name):
    return wait_for("%s %r" % (role, name), lambda: find(main_window(), role, name))


def press(role, name, root=None):
    node = wait_for("%s %r" % (role, name), lambda: find(root() if root else main_window(), role, name))
    node.queryAction().doAction(0)


def table():
    return find(main_window(), "table")


def cells():
    grid = table().queryTable()
    return [[grid.getAccessibleAt(row, column).name for column in range(grid.nColumns)]
            for row in range(grid.nRows)]


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def summary():
    label = find(main_window(), "label", re.compile(r".*(files read|renamed|restored|copied|cancelled).*"))
    return label.name if label else ""


def rows_when(what, condition):
    """The list's cells once condition(cells) holds; a failure tells the cells seen last."""
    seen = []

    def probe():
        seen[:] = [cells()]
        return (seen[0],) if condition(seen[0]) else None  # an empty list is an answer too
    try:
        return wait_for(what, probe)[0]
    except Failure as failure:
        raise Failure("%s; the list showed %r" % (failure, seen[0] if seen else "nothing readable"))


def log_text():
    """What the log view of the media tools shows (the tools must be in view)."""
    views = [t for t in find_all(main_window(), "text") if t.getState().contains(pyatspi.STATE_MULTI_LINE)]
    return "\n".join(text_of(view) for view in views)


def expect(condition, message):
    if not condition:
        raise Failure(message)


def start(*files):
    window = subprocess.Popen([program, *files])
    running["pid"] = window.pid
    return window


def close(window):
    press("push button", "Close")
    expect(window.wait(timeout=WAIT_SECONDS) == 0, "the window program ended with a failure")


def run():
    files = make_media()
    card_files = make_card()
    windows = []
    try:
        try:
            windows.append(start(*files))
            scenario(files)
            import_card(*card_files)
            renamed_from = rename_for_the_next_start(files)
            close(windows[-1])
            windows.append(start())
            undo_after_restart(files, renamed_from)
        except Failure:
            screenshot("failure.png", "the screen when the test failed")
            raise
        close(windows[-1])
    finally:
        for window in windows:
            if window.poll() is None:
                window.kill()
                window.wait()


def scenario(files):
    a, b, plain, portrait = files
    # Started with files: they are listed and read, and each row shows what a rename would do.
    wait_for("the window on the accessibility bus", main_window)
    rows = wait_for("four rows, read and planned",
                    lambda: (lambda c: c if len(c) == 4 and c[3][3] else None)(cells()))
    expect(rows[0][0].endswith("a.mp4") and rows[0][1] == "2015-06-01T10:20:30.000000Z", "row 1: %r" % rows[0])
    expect(rows[0][2].endswith("2015-06-01T10_20_30.000000Z.mp4") and rows[0][3] == "would rename",
           "row 1 preview: %r" % rows[0])
    expect(rows[2][1] == "" and rows[2][3] == "skipped: no creation time", "row 3: %r" % rows[2])
    expect(wait_for("the read's summary", summary) == "4 files read, 3 with a creation time", summary())
    expect(all(os.path.exists(f) for f in files), "a preview moved a file")
    screenshot("01-started-with-files.png", "four rows read; New filename and Result show the planned renames")

    # A pattern that cannot stand, typed and left in the field when the naming options close:
    # the dialog says what is wrong while it is typed, closing drops it and the log view says
    # so, and the list keeps the names of the pattern in force.
    press("push button", "Naming options...")
    dialog = lambda: find(application(), "dialog", "Naming options")
    wait_for("the naming options", dialog)
    pattern = wait_for("the pattern field", lambda: find(dialog(), "text", "Pattern"))
    pattern.queryEditableText().setTextContents("%Y/%q_%H")
    problem = wait_for("the pattern's problem", lambda: find(dialog(), "label", re.compile(r"Pattern: .*%q.*")))
    screenshot("02-pattern-invalid.png", "the naming options say: " + problem.name)
    press("push button", "Close", dialog)
    wait_for("the naming options to close", lambda: dialog() is None)
    expect(cells() == rows, "the list changed for a pattern not taken: %r" % cells())
    xdotool("key", "--clearmodifiers", "ctrl+i")  # the media tools, with the log view
    said = wait_for("the log's word on the pattern",
                    lambda: re.search(r'Naming options closed: pattern "%Y/%q_%H" not taken \(.*\); '
                                      r'names stay the creation time as stored', log_text()))
    screenshot("03-pattern-not-taken.png", "the log view: " + said.group(0))
    xdotool("key", "--clearmodifiers", "ctrl+i")
    wait_for("the media tools hidden", lambda: find(main_window(), "push button", "Next Frame") is None)

    # A valid pattern is taken once confirmed (closing the dialog), and the preview follows.
    press("push button", "Naming options...")
    wait_for("the naming options", dialog)
    pattern = wait_for("the pattern field", lambda: find(dialog(), "text", "Pattern"))
    expect(text_of(pattern) == "", "reopened, the field shows %r, not the pattern in force" % text_of(pattern))
    pattern.queryEditableText().setTextContents("%Y%m%d_%H%M%S")
    press("push button", "Close", dialog)
    wait_for("the naming options to close", lambda: dialog() is None)
    rows = wait_for("the preview of the new pattern",
                    lambda: (lambda c: c if c[0][2].endswith("20150601_102030.mp4") else None)(cells()))
    expect(rows[1][2].endswith("20160102_030405.mov"), "row 2 preview: %r" % rows[1])
    screenshot("04-pattern-changed.png", "%Y%m%d_%H%M%S taken on closing the naming options; the list shows the new names")

    # Rename: the files move, the rows follow them.
    press("push button", "Rename file(s)")
    rows = wait_for("the rename's results", lambda: (lambda c: c if c[0][3] == "renamed" else None)(cells()))
    expect(os.path.exists(os.path.join(media, "20150601_102030.mp4")) and not os.path.exists(a), "a.mp4 not renamed")
    expect(os.path.exists(os.path.join(media, "20160102_030405.mov")) and not os.path.exists(b), "b.mov not renamed")
    expect(os.path.exists(plain), "the file without creation time moved")
    expect(summary() == "3 renamed, 1 skipped, 0 failed", "summary after the rename: %r" % summary())
    screenshot("05-renamed.png", "Result says renamed for three rows, skipped for the file without creation time")

    # Undo: the files come back, the rows with them.
    press("push button", "Undo last rename")
    wait_for("the files put back", lambda: all(os.path.exists(f) for f in files))
    expect(wait_for("the undo's summary", lambda: "restored" in summary() and summary()) ==
           "3 restored, 0 not restored", "summary after the undo: %r" % summary())
    rows = wait_for("the rows back at their files", lambda: (lambda c: c if c[0][0].endswith("a.mp4") else None)(cells()))
    expect(rows[0][3] == "would rename", "after the undo row 1 shows: %r" % rows[0])
    screenshot("06-undone.png", "files back under their old names; the rows show what a rename would do again")

    # Maximized, the list takes the room; restored, it has its design size again.
    before = extents(table())
    subprocess.run(["wmctrl", "-r", "Morvane. v0.2", "-b", "add,maximized_vert,maximized_horz"], check=True)
    after = wait_for("the list to grow", lambda: (lambda e: e if e[2] > before[2] + 300 else None)(extents(table())))
    expect(after[3] > before[3] + 200, "the list grew to %r from %r" % (after, before))
    screenshot("07-maximized.png", "maximized: the list %dx%d (was %dx%d)" % (after[2], after[3], before[2], before[3]))
    subprocess.run(["wmctrl", "-r", "Morvane. v0.2", "-b", "remove,maximized_vert,maximized_horz"], check=True)
    restored = wait_for("the list back", lambda: (lambda e: e if e[2] == before[2] else None)(extents(table())))
    expect(restored[2:] == before[2:], "restored list %r, was %r" % (restored, before))

    # A double click on the portrait clip's row opens it in the media tools.
    grid = table().queryTable()
    x, y, width, height = extents(grid.getAccessibleAt(3, 1))
    subprocess.run(["xdotool", "mousemove", "--sync", str(x + width // 2), str(y + height // 2),
                    "click", "--repeat", "2", "--delay", "80", "1"], check=True)
    position = wait_for("the first frame's position",
                        lambda: find(main_window(), "label", re.compile(r"00:00:00\.000 / .*")))
    expect(re.fullmatch(r"00:00:00\.000 / 00:00:01\.0[0-9]{2}, key frame \(I\)", position.name),
           "position line: %r" % position.name)
    screenshot("08-media-tools-portrait.png", "media tools opened from the row; the portrait clip upright; " +
               position.name)
    press("push button", "Next Frame")
    stepped = wait_for("the next frame's position",
                       lambda: find(main_window(), "label", re.compile(r"00:00:00\.040 / .*")))
    expect("other frame" in stepped.name or "key frame" in stepped.name, "position line: %r" % stepped.name)
    screenshot("09-next-frame.png", "one frame on: " + stepped.name)
    xdotool("key", "--clearmodifiers", "ctrl+i")
    wait_for("the media tools hidden", lambda: find(main_window(), "push button", "Next Frame") is None)


def import_card(clip, backup):
    # "Clear" from the list's context menu empties it for the card. The menu is not on the
    # accessibility bus: its first entry is taken with the keys, as a person may take it.
    x, y, width, height = extents(table())
    shown = len(program_windows())
    xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "3")
    wait_for("the list's context menu", lambda: len(program_windows()) > shown)
    screenshot("10-list-menu.png", "the list's context menu: Clear (Ctrl+L), then the window's own entries")
    xdotool("key", "Down", "Return")
    rows_when("an empty list", lambda c: c == [])
    expect(summary() == "", "a summary is left after Clear: %r" % summary())
    screenshot("11-list-cleared.png", "Clear from the list's context menu: no rows, no summary")

    # "Select file(s)" with the card's folder typed into the file dialog: its clips are listed.
    press("push button", "Select file(s)")
    choose_in_file_dialog("Open", card, ("12-card-in-open-dialog.png", "the file-open dialog, the card folder typed"))
    rows = rows_when("the card's two clips, read and planned", lambda c: len(c) == 2 and c[1][3])
    expect([r[0] for r in rows] == [backup, clip], "the card's rows: %r" % rows)
    expect(all(r[1] == CARD_STAMP for r in rows), "the card's rows: %r" % rows)
    expect([r[3] for r in rows] == ["would rename", "would rename (with GOPR0001.LRV, GOPR0001.THM)"],
           "the card's rename plan: %r" % rows)
    expect(wait_for("the read's summary", summary) == "2 files read, 2 with a creation time", summary())
    screenshot("13-card-selected.png", "the card's clips listed (the backup first); THM and LRV go with their clip")

    # "Copy file(s)": the folder, then the plan in the list and the question.
    press("push button", "Copy file(s)")
    choose_in_file_dialog("Copy into folder", target,
                          ("14-copy-into-folder.png", "the folder dialog titled Copy into folder, the target typed"))
    question = wait_for("the question before the copy", lambda: top_window("Copy file(s)"))
    plan = "1 would be copied (+2 companions), 1 skipped, 0 failed"
    expect(summary() == plan, "the plan's summary: %r" % summary())
    rows = cells()
    copied = os.path.join(target, CARD_NAME + ".MP4")
    expect(rows[0][2:] == [copied, "would copy"], "the backup's plan: %r" % rows[0])
    expect(rows[1][2:] == [copied, "skipped: same as %s (would copy its companions GOPR0001.LRV, GOPR0001.THM)"
                           % backup], "the clip's plan: %r" % rows[1])
    labels = [label.name for label in find_all(question, "label")]
    expect("Copy into %s?" % target in labels and plan in labels, "the question says: %r" % labels)
    expect(os.listdir(target) == [], "copied before the answer: %r" % os.listdir(target))
    screenshot("15-copy-confirm.png", "the question Copy into %s? with the plan's summary, over the plan" % target)
    # Moved below the window, the question leaves the whole plan in view.
    window_box, question_box = extents(main_window()), extents(question)
    subprocess.run(["wmctrl", "-r", "Copy file(s)", "-e", "0,%d,%d,-1,-1" % (
        window_box[0], window_box[1] + window_box[3] + 40)], check=True)
    wait_for("the question moved", lambda: extents(question)[1] > question_box[1])
    screenshot("16-copy-plan.png", "the plan: would copy for the backup, the clip skipped with its companions; " + plan)
    press("push button", "Copy", lambda: top_window("Copy file(s)"))

    rows = rows_when("the copy's results", lambda c: c[0][3] == "copied")
    expect(rows[1][3] == "skipped: same as %s (copied its companions GOPR0001.LRV, GOPR0001.THM)" % backup,
           "the clip's result: %r" % rows[1])
    expect(wait_for("the copy's summary", lambda: "copied" in summary() and summary()) ==
           "1 copied (+2 companions), 1 skipped, 0 failed", "the copy's summary: %r" % summary())
    expect(sorted(os.listdir(target)) == [CARD_NAME + ext for ext in (".LRV", ".MP4", ".THM")],
           "the target holds %r" % sorted(os.listdir(target)))
    for ext in ("MP4", "THM", "LRV"):
        expect(filecmp.cmp(os.path.join(os.path.dirname(clip), "GOPR0001." + ext),
                           os.path.join(target, CARD_NAME + "." + ext), shallow=False), ext + " not copied whole")
    screenshot("17-copied.png", "copied: the clip, its THM and LRV under the card's time; 1 copied (+2 companions)")

    # Ctrl+L clears too.
    xdotool("key", "--clearmodifiers", "ctrl+l")
    rows_when("an empty list", lambda c: c == [])


def rename_for_the_next_start(files):
    # The media folder chosen in the file dialog: its four files, renamed.
    press("push button", "Select file(s)")
    choose_in_file_dialog("Open", media)
    rows_when("the media folder's four files, planned", lambda c: len(c) == 4 and c[3][3])
    renamed_from = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime())
    press("push button", "Rename file(s)")
    wait_for("the rename's summary", lambda: summary() == "3 renamed, 1 skipped, 0 failed")
    expect(not any(os.path.exists(f) for f in files if not f.endswith("plain.mkv")), "not renamed")
    return renamed_from


def undo_after_restart(files, renamed_from):
    # Started again, the window offers the rename of the last start to undo, and says which:
    # its time (UTC, not before the rename began) and its file count.
    wait_for("the window on the accessibility bus", main_window)
    undo = wait_for("Undo last rename, enabled", lambda: (lambda b: b if b and b.getState().contains(
        pyatspi.STATE_ENABLED) else None)(find(main_window(), "push button", "Undo last rename")))
    offered = re.search(r"Newest rename not undone: (\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ), 3 files$", undo.description)
    expect(offered and offered.group(1) >= renamed_from, "the undo's tooltip: %r (renamed from %s)" % (
        undo.description, renamed_from))
    x, y, width, height = extents(undo)
    xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2))
    wait_for("the tooltip", lambda: find(application(), "tool tip"))
    screenshot("18-undo-after-restart.png", "after a new start: " + undo.description.replace("\n", " / "))
    press("push button", "Undo last rename")
    wait_for("the files put back", lambda: all(os.path.exists(f) for f in files))
    expect(wait_for("the undo's summary", lambda: "restored" in summary() and summary()) ==
           "3 restored, 0 not restored", "summary after the undo: %r" % summary())
    expect(not find(main_window(), "push button", "Undo last rename").getState().contains(pyatspi.STATE_ENABLED),
           "Undo last rename still offered after the undo")
    screenshot("19-undone-after-restart.png", "the files back under their old names: " + summary())


if __name__ == "__main__":
    try:
        run()
    except Failure as failure:
        print("window end-to-end test FAILED: %s" % failure, file=sys.stderr)
        sys.exit(1)
    print("window end-to-end test passed")
