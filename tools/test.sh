#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds everything and runs the whole test
# suite twice: in the normal build and under AddressSanitizer +
# UndefinedBehaviorSanitizer; then the headless part once more under
# ThreadSanitizer. The first two builds treat warnings as errors, and a test
# case that hangs fails after its timeout (tests/CMakeLists.txt). The normal
# build's suite installs it into a temporary root and checks the installed
# files; its Debian package is checked with lintian; and its suites run once
# more with all their cases in one process.
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
# The Debian package of that build (as tools/package.sh makes it) passes lintian.
(cd build/release && cpack -G DEB -B "$PWD/packages" >/dev/null)
lintian --fail-on error build/release/packages/darazoz_*.deb
# Every suite once more with all its cases in one process.
bash tools/run-whole-suites.sh build/release
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DDARAZOZ_SANITIZE=ON -DDARAZOZ_WERROR=ON
# The headless core under ThreadSanitizer: the catalogue's lock, the import
# and location workers, the map link's threads and the companion's service.
# Qt is not instrumented, so the windows stay out of this build; its warnings
# are left to the two builds above (GCC warns falsely under this sanitizer).
TSAN_OPTIONS=halt_on_error=1 \
  run_suite build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDARAZOZ_TSAN=ON -DDARAZOZ_BUILD_UI=OFF \
    -DDARAZOZ_WERROR=OFF
