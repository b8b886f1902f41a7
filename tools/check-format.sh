#!/usr/bin/env bash
# Fails when a C or C++ file of the repository differs from what clang-format
# makes of it with the root .clang-format; prints the files that differ.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
if clang-format --dry-run --Werror "${files[@]}" 2>/dev/null; then
  echo "format check: ${#files[@]} files formatted"
  exit 0
fi
echo "format check failed; run: clang-format -i <file> for these files:" >&2
for f in "${files[@]}"; do
  clang-format "$f" | cmp -s - "$f" || echo "  $f" >&2
done
exit 1
