#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehavior-
# Sanitizer) in build/fuzz and runs each for SECONDS (default 60), one after
# the other, printing executions, coverage and findings per target.
#   tools/fuzz.sh [SECONDS] [TARGET...]
# Seeds: the inputs kept for the replay suite (tests/fixtures/fuzz), small
# JPEGs from ../shared/testdata/photos (copied at run time) and hand-made
# frames, records, catalogues and photos (tools/fuzz_seeds.py). The growing
# corpus stays in build/fuzz/corpus/<target>; crashes and hangs are written
# to build/fuzz/findings/<target>/. A fixed finding, minimised
# (fuzz_<target> -minimize_crash=1 ...), goes to tests/fixtures/fuzz/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(photo_read image_decode link_frame map_records companion_request catalogue_open
           exif_rewrite region_lookup track_read)
fi
build=build/fuzz
photos=../shared/testdata/photos

CC=clang CXX=clang++ cmake -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDARAZOZ_FUZZ=ON -DDARAZOZ_BUILD_UI=OFF -DDARAZOZ_BUILD_TESTS=OFF \
  "-DDARAZOZ_SUBSYSTEMS=platform;record;image;catalogue;metadata;maplink;companion" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" \
  --target "${targets[@]/#/fuzz_}" >/dev/null

# Seeds, refreshed on every run; what the fuzzers added stays.
corpus=$build/corpus
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds/photo_read" "$seeds/image_decode" "$seeds/exif_rewrite"
thumbnail=
if [ -d "$photos" ]; then
  while IFS= read -r -d '' photo; do
    name=$(echo "$photo" | md5sum | cut -c1-12).jpg
    cp "$photo" "$seeds/photo_read/$name"
    cp "$photo" "$seeds/image_decode/$name"
    cp "$photo" "$seeds/exif_rewrite/$name"
    thumbnail=${thumbnail:-$photo}
  done < <(find "$photos" -type f -iname '*.jp*g' -size -96k -print0 | sort -z)
  if [ -n "$thumbnail" ]; then
    djpeg -scale 1/8 -bmp "$thumbnail" >"$seeds/image_decode/small.bmp" 2>/dev/null || true
    djpeg -scale 1/8 -bmp -colors 16 "$thumbnail" >"$seeds/image_decode/palette.bmp" 2>/dev/null || true
    djpeg -scale 1/8 "$thumbnail" 2>/dev/null | cjpeg -progressive >"$seeds/image_decode/progressive.jpg" || true
  fi
else
  echo "note: $photos not found; photo and image targets start from hand-made seeds only" >&2
fi
python3 tools/fuzz_seeds.py "$seeds" tests/catalogue/schema_golden.txt \
  ${thumbnail:+"$seeds/image_decode/progressive.jpg"}

printf '%-16s %12s %8s %8s %8s %s\n' target executions cov features corpus findings
for target in "${targets[@]}"; do
  mkdir -p "$corpus/$target" "$build/findings/$target" "$seeds/$target"
  log=$build/logs/$target.log
  mkdir -p "$(dirname "$log")"
  # -close_fd_mask=1: the catalogue's "error!" lines would flood the log.
  status=0
  "$build/fuzz/fuzz_$target" "$corpus/$target" "$seeds/$target" "tests/fixtures/fuzz/$target" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -close_fd_mask=1 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$target/" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  found=$(find "$build/findings/$target" -type f | wc -l)
  printf '%-16s %12s %8s %8s %8s %s\n' "$target" "${execs:-?}" "${cov:-?}" "${ft:-?}" \
    "$(find "$corpus/$target" -type f | wc -l)" "$found$([ "$status" -eq 0 ] || echo " (exit $status)")"
  if [ "$status" -ne 0 ]; then
    grep -m1 -E 'ERROR: (AddressSanitizer|libFuzzer)|runtime error|SUMMARY' "$log" | sed 's/^/    /' || true
  fi
done
