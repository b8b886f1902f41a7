#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program and starts it. The data
# folder is created on first start (build/release/src/cli/data unless
# --data-dir DIR or DARAZOZ_DATA_DIR says otherwise). Arguments are passed on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -G Ninja -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)"
if [ $# -eq 0 ]; then set -- stats; fi
exec build/release/src/cli/darazoz-cli "$@"
