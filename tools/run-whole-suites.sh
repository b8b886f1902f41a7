#!/usr/bin/env bash
# Runs every test executable of a build folder once with all its cases in one
# process, as ctest (one process per case) does not: a case that passes only
# because it starts from a fresh process, after state another case left
# behind, fails here.
# usage: run-whole-suites.sh BUILD_DIR
set -euo pipefail
build=$1
failed=0
while IFS= read -r suite; do
  log=$(mktemp)
  if TZ=Asia/Shanghai QT_QPA_PLATFORM=offscreen "$suite" --gtest_brief=1 >"$log" 2>&1; then
    echo "whole suite passed: ${suite#"$build"/}"
  else
    echo "whole suite FAILED: ${suite#"$build"/}" >&2
    tail -40 "$log" >&2
    failed=1
  fi
  rm -f "$log"
done < <(find "$build/tests" -type f -executable -name '*_tests' | sort)
exit "$failed"
