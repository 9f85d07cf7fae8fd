#!/usr/bin/env bash
# Installs what is missing, builds the whole test suite and runs it twice: in a normal
# build, then under AddressSanitizer and UndefinedBehaviorSanitizer with leak checking.
# Every stage treats compiler warnings as errors. After the normal build's tests, the window
# is tested end to end (tests/e2e).
# A third stage builds only the thread tests (CTest label "thread") under ThreadSanitizer.
# A fourth builds the tests of the media component, the workflow and morvane-cli as 32-bit
# Windows programs and runs them under Wine (MORVANE_SKIP_WINDOWS=1 leaves it out locally).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs="$(nproc)"
# Each stage's wall time, told when it ends and again at the close.
started=$(date +%s)
times=""
stage_done() {
  local now
  now=$(date +%s)
  times+="$1: $((now - started)) s"$'\n'
  echo "== $1 took $((now - started)) s"
  started=$now
}

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DMORVANE_WERROR=ON
cmake --build build-test -j"$jobs"
# The runs of the ffmpeg tools are recorded for the Windows stage, which cannot start them.
rm -rf build-test/test-media
MORVANE_TEST_MEDIA=$PWD/build-test/test-media ctest --test-dir build-test --output-on-failure -j"$jobs" --timeout 300
stage_done "normal build and tests"

# The window end to end: the real program under a virtual X server and a window manager,
# driven through the accessibility tree. Screenshots of its main states go outside the tree.
timeout 600 tests/e2e/run-window-e2e.sh build-test/app/morvane "${MORVANE_E2E_SHOTS:-/tmp/morvane-e2e-shots}"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMORVANE_WERROR=ON -DMORVANE_SANITIZE=ON -DMORVANE_BUILD_BENCH=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
stage_done "AddressSanitizer and UndefinedBehaviorSanitizer"

# This stage builds and runs only the thread tests: the relay and the lock manager, which
# load nothing but the C library, and lookups on worker threads over real files, where the
# media libraries (not instrumented) run unchecked inside and every access of ours is checked.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DMORVANE_WERROR=ON -DMORVANE_SANITIZE_THREAD=ON \
  -DMORVANE_BUILD_BENCH=OFF -DMORVANE_BUILD_APP=OFF
cmake --build build-tsan -j"$jobs" --target log_thread_test lock_manager_test workflow_zone_thread_test \
  lookup_thread_test
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build-tsan -L thread --output-on-failure -j"$jobs" --timeout 600
stage_done "ThreadSanitizer"

if [ "${MORVANE_SKIP_WINDOWS:-0}" != 1 ]; then
  scripts/test-windows.sh "$PWD/build-test/test-media"
  stage_done "Windows under Wine"
fi
printf '%s' "$times"
