#!/usr/bin/env bash
# Kills darazoz-cli with SIGKILL at random moments during an import with its
# save and during a thorough tidy, and checks after every kill that the
# catalogue file opens, passes "pragma integrity_check" and holds either the
# old or the new content, and that the next start of the tool removes what
# the killed save left behind. The edit's trials (photos either old or new)
# run through tools/edit-kill-trials.sh. Prints the trials and the failures.
#
# usage: tools/crash-trials.sh [TRIALS]   (default 200 of each kind)
# DARAZOZ_CLI names the tool (default build/release/bin/darazoz-cli).
set -uo pipefail

trials=${1:-200}
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${DARAZOZ_CLI:-$root/build/release/bin/darazoz-cli}
[ -x "$cli" ] || { echo "no darazoz-cli at $cli (build it first)" >&2; exit 2; }
command -v sqlite3 >/dev/null || { echo "needs the sqlite3 shell (tools/setup.sh)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two sets of distinct photos: "old" is catalogued before each trial, "new"
# is what the killed command adds (import) or loses (tidy).
make_photos() {  # folder count seed
  mkdir -p "$1"
  for ((i = 0; i < $2; i++)); do
    head -c $((320 * 240 * 3)) /dev/urandom |
      { printf 'P6\n320 240\n255\n'; cat; } | cjpeg -quality 80 >"$1/p$3-$i.jpg"
  done
}
make_photos "$work/old" 20 1
make_photos "$work/new" 300 2

count_rows() { sqlite3 "$1" 'select count(*) from tJpgMsg' 2>/dev/null; }

ms_of() {  # runs a command, prints its wall time in ms
  local start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  echo $((($(date +%s%N) - start) / 1000000))
}

# kind, setup function, command run under fire, old count, new count
run_kind() {
  local kind=$1 setup=$2 old=$3 new=$4
  shift 4
  local base=$work/$kind-base
  $setup "$base"
  # The clean run gives the time window and proves the new content.
  rm -rf "$work/clean" && cp -a "$base" "$work/clean"
  local clean_ms
  clean_ms=$(ms_of "$cli" --data-dir "$work/clean/data" "$@")
  local got
  got=$(count_rows "$work/clean/data/myJpgdb.db")
  [ "$got" = "$new" ] || { echo "$kind: the clean run gave $got photos, not $new" >&2; return 1; }

  local olds=0 news=0 failures=0 leftovers=0
  for ((t = 1; t <= trials; t++)); do
    rm -rf "$work/run" && cp -a "$base" "$work/run"
    "$cli" --data-dir "$work/run/data" "$@" >/dev/null 2>&1 &
    local pid=$!
    local delay_us=$(((RANDOM * 32768 + RANDOM) % (clean_ms * 1200 + 1)))
    sleep "$(printf '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000)))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null

    local file=$work/run/data/myJpgdb.db
    local check
    check=$(sqlite3 "$file" 'pragma integrity_check' 2>&1)
    got=$(count_rows "$file")
    if [ "$check" != "ok" ]; then
      failures=$((failures + 1))
      echo "$kind trial $t: integrity check says: $check" >&2
    elif [ "$got" = "$old" ]; then
      olds=$((olds + 1))
    elif [ "$got" = "$new" ]; then
      news=$((news + 1))
    else
      failures=$((failures + 1))
      echo "$kind trial $t: $got photos, neither the old $old nor the new $new" >&2
    fi
    if [ -e "$work/run/data/tmp.db" ]; then
      leftovers=$((leftovers + 1))
      "$cli" --data-dir "$work/run/data" stats >/dev/null 2>&1
      if [ -e "$work/run/data/tmp.db" ] || [ -e "$work/run/data/tmp.db-journal" ]; then
        failures=$((failures + 1))
        echo "$kind trial $t: the next start left the interrupted save behind" >&2
      fi
    fi
  done
  printf '%-8s trials %4d  old %4d  new %4d  interrupted saves cleaned %4d  failures %d  (clean run %d ms)\n' \
    "$kind" "$trials" "$olds" "$news" "$leftovers" "$failures" "$clean_ms"
  [ "$failures" -eq 0 ]
}

# Import: the old photos are catalogued; the command imports the new ones.
setup_import() {
  mkdir -p "$1"
  "$cli" --data-dir "$1/data" import "$work/old" >/dev/null 2>&1
}

# Thorough tidy: both sets are catalogued, the new set's files are gone.
setup_tidy() {
  mkdir -p "$1"
  cp -a "$work/new" "$1/gone"
  "$cli" --data-dir "$1/data" import "$work/old" "$1/gone" >/dev/null 2>&1
  rm -rf "$1/gone"
}

status=0
run_kind import setup_import 20 320 import "$work/new" || status=1
run_kind tidy setup_tidy 320 20 tidy --thorough || status=1
DARAZOZ_CLI=$cli bash "$root/tools/edit-kill-trials.sh" "$trials" | tail -1 || status=1
exit $status
