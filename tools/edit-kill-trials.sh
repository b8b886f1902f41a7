#!/usr/bin/env bash
# Kills `darazoz-cli edit` with SIGKILL at random moments while it rewrites
# a photo, and checks after each kill that the photo is byte for byte either
# the old file or the complete new one. Temporary files a kill leaves behind
# must follow the clean-up rule: named .<photo>.<pid>.darazoz-tmp, and gone
# after the next complete edit of the same photo.
#
# usage: tools/edit-kill-trials.sh [TRIALS]   (default 200)
# DARAZOZ_CLI names the tool (default build/release/bin/darazoz-cli);
# DARAZOZ_KILL_PHOTO names the photo (default: the largest file of the corpus
# folder, DARAZOZ_PHOTO_CORPUS or ../shared/testdata/photos, or a
# generated 12 MP JPEG when the corpus is absent).
set -uo pipefail

trials=${1:-200}
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${DARAZOZ_CLI:-$root/build/release/bin/darazoz-cli}
corpus=${DARAZOZ_PHOTO_CORPUS:-$root/../shared/testdata/photos}
[ -x "$cli" ] || { echo "no darazoz-cli at $cli (build it first)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
photo=${DARAZOZ_KILL_PHOTO:-}
if [ -z "$photo" ] && [ -d "$corpus" ]; then
  photo=$(find "$corpus" -iname '*.jpg' -printf '%s %p\n' | sort -n | tail -1 | cut -d' ' -f2-)
fi
if [ -z "$photo" ]; then
  head -c $((4000 * 3000 * 3)) /dev/urandom | { printf 'P6\n4000 3000\n255\n'; cat; } |
    cjpeg -quality 90 >"$work/generated.jpg"
  photo=$work/generated.jpg
fi
echo "photo: $photo ($(stat -c %s "$photo") bytes)"

edit=(edit --keywords 'kill;trial' --position -33.5,151.25,12 --comment 'written under fire')
data=$work/data
mkdir -p "$work/run"
cp "$photo" "$work/old.jpg"

# The complete new file, from one clean run.
cp "$work/old.jpg" "$work/run/photo.jpg"
start=$(date +%s%N)
"$cli" --data-dir "$data" "${edit[@]}" "$work/run/photo.jpg" || { echo "clean run failed" >&2; exit 1; }
clean_ns=$(( $(date +%s%N) - start ))
cp "$work/run/photo.jpg" "$work/new.jpg"
cmp -s "$work/old.jpg" "$work/new.jpg" && { echo "the edit changed nothing" >&2; exit 1; }
echo "clean run: $((clean_ns / 1000000)) ms"

old=0 new=0 leftovers=0 failures=0
for ((i = 1; i <= trials; i++)); do
  cp "$work/old.jpg" "$work/run/photo.jpg"
  "$cli" --data-dir "$data" "${edit[@]}" "$work/run/photo.jpg" 2>/dev/null &
  pid=$!
  # A random moment within 1.2 times the clean run.
  delay_us=$(( (RANDOM * 32768 + RANDOM) % (clean_ns / 1000 * 12 / 10 + 1) ))
  sleep "$(printf '0.%06d' "$delay_us")"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null

  if cmp -s "$work/run/photo.jpg" "$work/old.jpg"; then
    old=$((old + 1))
  elif cmp -s "$work/run/photo.jpg" "$work/new.jpg"; then
    new=$((new + 1))
  else
    failures=$((failures + 1))
    echo "trial $i: the photo is neither the old nor the new file" >&2
  fi
  others=$(find "$work/run" -mindepth 1 ! -name photo.jpg ! -name '.photo.jpg.*.darazoz-tmp')
  if [ -n "$others" ]; then
    failures=$((failures + 1))
    echo "trial $i: unexpected files: $others" >&2
  fi
  if [ -n "$(find "$work/run" -name '.photo.jpg.*.darazoz-tmp')" ]; then
    leftovers=$((leftovers + 1))
    # The clean-up rule: the next complete edit of the photo removes them.
    cp "$work/old.jpg" "$work/run/photo.jpg"
    "$cli" --data-dir "$data" "${edit[@]}" "$work/run/photo.jpg" 2>/dev/null
    if [ -n "$(find "$work/run" -mindepth 1 ! -name photo.jpg)" ]; then
      failures=$((failures + 1))
      echo "trial $i: a temporary file outlived the next edit" >&2
    fi
  fi
  find "$work/run" -mindepth 1 ! -name photo.jpg -delete
done

echo "trials $trials: old file $old, new file $new, temporary files left for clean-up $leftovers, failures $failures"
[ "$failures" -eq 0 ]
