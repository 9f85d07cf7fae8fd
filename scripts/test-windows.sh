#!/usr/bin/env bash
# The Windows stage of scripts/test.sh: builds the tests of the media component, the workflow
# and morvane-cli as 32-bit Windows programs and runs them with ctest under Wine, headless.
# Argument: the folder where the Linux tests recorded their runs of the ffmpeg tools (the
# Windows programs cannot start the Linux tools; they replay those runs).
set -euo pipefail
cd "$(dirname "$0")/.."
media=$(realpath "$1")
jobs=$(nproc)
build=build-windows-test

mkdir -p $build/bin
eval "$(scripts/build-windows.sh --deps $build/bin)"
# Configured afresh: the libraries' folders change with their flags.
rm -f $build/CMakeCache.txt
cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Debug \
  -DMORVANE_WERROR=ON -DMORVANE_WINDOWS_DEPS="$MORVANE_WINDOWS_DEPS" -DMORVANE_BUILD_APP=OFF -DMORVANE_BUILD_BENCH=OFF \
  > $build/configure.log || { cat $build/configure.log; exit 1; }
# morvane-cli finds the DLLs in LibAV, the tests (loading by bare name) beside themselves.
cp $build/bin/LibAV/*.dll $build/bin/

# One Wine server for the whole stage, started with its output on /dev/null: a run whose
# output is captured (ctest, the test list after each link) otherwise waits until Wine's
# helper processes, which inherit the pipe, end.
# No Mono or Gecko: the prefix is made without asking for them.
export WINEPREFIX=$PWD/$build/wine WINEDEBUG=-all WINEARCH=win32 LANG=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX"
# A server left running on this prefix (an earlier run, a run by hand) is ended first:
# starting a persistent one fails while another serves the prefix.
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
wineserver -p 600 </dev/null >/dev/null 2>&1
trap 'wineserver -k || true' EXIT
wine wineboot -i </dev/null >/dev/null 2>&1

cmake --build $build -j"$jobs"
MORVANE_TEST_MEDIA=$media ctest --test-dir $build --output-on-failure -j"$jobs" --timeout 600
# Tests that need what Windows or Wine lacks skip themselves, saying what they need; their
# output is in the run's log, which the next ctest call replaces.
{ grep -A1 ': Skipped$' $build/Testing/Temporary/LastTest.log || true; } | sed -n 's/^needs \([^(]*\).*/\1/p' |
  sed 's/ *$//' | sort | uniq -c | while read -r count need; do echo "Windows stage: skipped $count that need $need"; done
echo "Windows stage: $(ctest --test-dir $build -N | sed -n 's/^Total Tests: //p') tests run under Wine"
sed -n 's/^-- Windows: /Windows stage: /p' $build/configure.log
