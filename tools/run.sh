#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program and starts it. The data
# folder is created on first start: build/release/bin/data, which the program
# and darazoz-cli share, unless --data-dir DIR or DARAZOZ_DATA_DIR says
# otherwise. Arguments are passed on.
# The companion map program zidevu is recorded (zidevu --install) so that the
# program finds and starts it on demand.
# Without a display the command-line tool starts instead (its "stats" by default).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -G Ninja -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)"
# Record the companion map program, so that the region lookup can start it.
build/release/bin/zidevu --install >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting darazoz-cli (xvfb-run tools/run.sh starts the window without one)." >&2
  if [ $# -eq 0 ]; then set -- stats; fi
  exec build/release/bin/darazoz-cli "$@"
fi
exec build/release/bin/darazoz "$@"
