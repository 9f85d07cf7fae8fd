#!/usr/bin/env bash
# Installs what is missing, builds Morvane and starts its window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_BUILD_TESTS=OFF -DMORVANE_BUILD_BENCH=OFF
cmake --build build-release -j"$(nproc)" --target morvane morvane-cli
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Morvane is built (build-release/app/morvane), but no desktop session was found to show" >&2
  echo "its window in (DISPLAY and WAYLAND_DISPLAY are unset). Start it from a desktop, or use" >&2
  echo "build-release/cli/morvane-cli from a terminal." >&2
  exit 1
fi
exec build-release/app/morvane
