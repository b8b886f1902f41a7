#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds everything and runs the whole test
# suite twice: in the normal build and under AddressSanitizer +
# UndefinedBehaviorSanitizer. Both builds treat warnings as errors, and a
# test case that hangs fails after its timeout (tests/CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/check-format.sh

jobs=$(nproc 2>/dev/null || echo 2)
run_suite() {
  local dir=$1; shift
  cmake -G Ninja -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs")
}

run_suite build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDARAZOZ_WERROR=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DDARAZOZ_SANITIZE=ON -DDARAZOZ_WERROR=ON
