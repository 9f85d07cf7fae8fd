#!/usr/bin/env bash
# Runs the window's end-to-end test: the real morvane program on a virtual X server with a
# window manager (openbox), driven through the accessibility tree (AT-SPI) from
# window_e2e.py, inside a D-Bus session of its own with its own accessibility bus.
# Usage: run-window-e2e.sh MORVANE_PROGRAM SCREENSHOT_FOLDER
set -euo pipefail
program="$(realpath "$1")"
shots="$(mkdir -p "$2" && realpath "$2")"
here="$(dirname "$(realpath "$0")")"
work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display number and writes it to fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)

# Everything the test starts keeps to the work folder: settings, undo journal, media.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_STATE_HOME="$work/home/.local/state"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$1/atspi.log" 2>&1 &
  launcher=$!
  trap "kill $launcher 2>/dev/null; wait $launcher 2>/dev/null" EXIT
  /usr/bin/python3 "$2/window_e2e.py" "$3" "$4" "$1"
' e2e "$work" "$here" "$program" "$shots"
