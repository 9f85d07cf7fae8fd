#!/usr/bin/env bash
# The lookup benchmark in one command: installs what is missing, builds morvane-cli and
# morvane-bench when needed, makes a fresh corpus in a temporary folder under the build
# folder, runs the bench and prints its table. The corpus is removed afterwards.
#
# Usage: bench/run.sh [BUILD_DIR]        (default: build-bench at the repository root)
# Environment:
#   MORVANE_BENCH_FILES  number of small files (default 300)
#   MORVANE_BENCH_ARGS   further morvane-bench options, e.g. "--repeats 9 --lookups 10000"
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$repo/build-bench}" && cd "${1:-$repo/build-bench}" && pwd)

"$repo/scripts/install-deps.sh"
# ExifTool is compared against, not used: the bench installs it, the project does not.
if ! dpkg-query -W -f='${Status}' libimage-exiftool-perl 2>/dev/null | grep -q "install ok installed"; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libimage-exiftool-perl
fi
cache="$build/CMakeCache.txt"
if [ ! -f "$cache" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_BUILD_TESTS=OFF -DMORVANE_BUILD_BENCH=ON
elif ! grep -q '^MORVANE_BUILD_BENCH:BOOL=ON$' "$cache"; then
  cmake -S "$repo" -B "$build" -DMORVANE_BUILD_BENCH=ON
fi
if grep -q '^MORVANE_SANITIZE:BOOL=ON$' "$cache" || grep -qE '^CMAKE_BUILD_TYPE:[A-Z]+=(Debug)?$' "$cache"; then
  echo "warning: $build is a sanitizer or unoptimised build; its figures say little" >&2
fi
# morvane-bench depends on morvane-cli, so this builds both.
cmake --build "$build" --target morvane-bench -j"$(nproc)"
window_bench=""
if grep -q '^MORVANE_BUILD_APP:BOOL=ON$' "$cache"; then
  cmake --build "$build" --target morvane-window-bench -j"$(nproc)"
  window_bench="$build/bench/morvane-window-bench"
fi

corpus=$(mktemp -d "$build/bench-corpus.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
echo "making the corpus in $corpus ..." >&2
"$repo/bench/make_corpus.sh" "$corpus" "${MORVANE_BENCH_FILES:-300}"
# shellcheck disable=SC2086 # MORVANE_BENCH_ARGS is a list of options
"$build/bench/morvane-bench" ${MORVANE_BENCH_ARGS:-} "$corpus"
if [ -n "$window_bench" ]; then
  echo
  "$window_bench" "$corpus"
fi
