#!/usr/bin/python3
"""The window end to end, as a user meets it: the real morvane program started with files,
on a real X server under a window manager, read and driven through the accessibility tree.

Usage: window_e2e.py MORVANE_PROGRAM SCREENSHOT_FOLDER WORK_FOLDER

Each step waits (with a time limit) for what the window must show, so a slow machine only
takes longer; a window that shows something else fails the test. Screenshots of the main
states go to SCREENSHOT_FOLDER.
"""
import os
import re
import subprocess
import sys
import time

import pyatspi

WAIT_SECONDS = 40
program, shots, work = sys.argv[1], sys.argv[2], sys.argv[3]
media = os.path.join(work, "media")
os.makedirs(media, exist_ok=True)


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


def screenshot(name, seen):
    path = os.path.join(shots, name)
    subprocess.run(["import", "-window", "root", path], check=True)
    print("screenshot %s: %s" % (path, seen), flush=True)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == "Morvane":
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


def main_window():
    app = application()
    return app and find(app, "filler", "Morvane. v0.2")


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
    label = find(main_window(), "label", re.compile(r".*(files read|renamed|restored).*"))
    return label.name if label else ""


def expect(condition, message):
    if not condition:
        raise Failure(message)


def run():
    files = make_media()
    window = subprocess.Popen([program, *files])
    try:
        try:
            scenario(files)
        except Failure:
            screenshot("failure.png", "the screen when the test failed")
            raise
        press("push button", "Close")
        expect(window.wait(timeout=WAIT_SECONDS) == 0, "the window program ended with a failure")
    finally:
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

    # The pattern changes in the naming options; it is taken once confirmed (closing the
    # dialog while it is valid), and the preview follows.
    press("push button", "Naming options...")
    dialog = lambda: find(application(), "dialog", "Naming options")
    wait_for("the naming options", dialog)
    pattern = wait_for("the pattern field", lambda: find(dialog(), "text", "Pattern"))
    pattern.queryEditableText().setTextContents("%Y%m%d_%H%M%S")
    press("push button", "Close", dialog)
    wait_for("the naming options to close", lambda: dialog() is None)
    rows = wait_for("the preview of the new pattern",
                    lambda: (lambda c: c if c[0][2].endswith("20150601_102030.mp4") else None)(cells()))
    expect(rows[1][2].endswith("20160102_030405.mov"), "row 2 preview: %r" % rows[1])
    screenshot("02-pattern-changed.png", "%Y%m%d_%H%M%S taken on closing the naming options; the list shows the new names")

    # Rename: the files move, the rows follow them.
    press("push button", "Rename file(s)")
    rows = wait_for("the rename's results", lambda: (lambda c: c if c[0][3] == "renamed" else None)(cells()))
    expect(os.path.exists(os.path.join(media, "20150601_102030.mp4")) and not os.path.exists(a), "a.mp4 not renamed")
    expect(os.path.exists(os.path.join(media, "20160102_030405.mov")) and not os.path.exists(b), "b.mov not renamed")
    expect(os.path.exists(plain), "the file without creation time moved")
    expect(summary() == "3 renamed, 1 skipped, 0 failed", "summary after the rename: %r" % summary())
    screenshot("03-renamed.png", "Result says renamed for three rows, skipped for the file without creation time")

    # Undo: the files come back, the rows with them.
    press("push button", "Undo last rename")
    wait_for("the files put back", lambda: all(os.path.exists(f) for f in files))
    expect(wait_for("the undo's summary", lambda: "restored" in summary() and summary()) ==
           "3 restored, 0 not restored", "summary after the undo: %r" % summary())
    rows = wait_for("the rows back at their files", lambda: (lambda c: c if c[0][0].endswith("a.mp4") else None)(cells()))
    expect(rows[0][3] == "would rename", "after the undo row 1 shows: %r" % rows[0])
    screenshot("04-undone.png", "files back under their old names; the rows show what a rename would do again")

    # Maximized, the list takes the room; restored, it has its design size again.
    before = extents(table())
    subprocess.run(["wmctrl", "-r", "Morvane. v0.2", "-b", "add,maximized_vert,maximized_horz"], check=True)
    after = wait_for("the list to grow", lambda: (lambda e: e if e[2] > before[2] + 300 else None)(extents(table())))
    expect(after[3] > before[3] + 200, "the list grew to %r from %r" % (after, before))
    screenshot("05-maximized.png", "maximized: the list %dx%d (was %dx%d)" % (after[2], after[3], before[2], before[3]))
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
    screenshot("06-media-tools-portrait.png", "media tools opened from the row; the portrait clip upright; " +
               position.name)
    press("push button", "Next Frame")
    stepped = wait_for("the next frame's position",
                       lambda: find(main_window(), "label", re.compile(r"00:00:00\.040 / .*")))
    expect("other frame" in stepped.name or "key frame" in stepped.name, "position line: %r" % stepped.name)
    screenshot("07-next-frame.png", "one frame on: " + stepped.name)


if __name__ == "__main__":
    try:
        run()
    except Failure as failure:
        print("window end-to-end test FAILED: %s" % failure, file=sys.stderr)
        sys.exit(1)
    print("window end-to-end test passed")
