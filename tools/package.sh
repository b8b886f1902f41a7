#!/usr/bin/env bash
# Builds the Debian package darazoz_<version>_<arch>.deb into the top folder:
# the release build, installed under /usr by CPack, its binaries stripped and
# its library dependencies computed by dpkg-shlibdeps.
# usage: tools/package.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
build=${1:-build/release}
cmake -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
(cd "$build" && cpack -G DEB -B "$PWD/packages")
cp "$build"/packages/darazoz_*.deb .
ls darazoz_*.deb
