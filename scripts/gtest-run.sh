#!/usr/bin/env bash
# Runs a GoogleTest program (the command given, e.g. wine-run.sh or
# own_prefix.sh with the executable and its arguments), streams its output,
# and passes only when the program ran to its end: it exited 0, GoogleTest's
# closing summary says at least one test passed, and no line says a test failed.
# So a program that ends early with exit code 0 (a test or a child that ends
# the process) fails for want of the summary, one that crashes after the
# summary fails on its exit code, and one whose filter selects nothing, or
# whose every selected test skipped, fails with "0 tests" passed.
# Usage: gtest-run.sh <command> [arguments]
set -uo pipefail
output=$(mktemp "${TMPDIR:-/tmp}/gtest-run.XXXXXX")
trap 'rm -f "$output"' EXIT

"$@" 2>&1 | tee "$output"
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ]; then
  exit "$status"
fi

# Windows programs end their lines with CR LF.
lines() { tr -d '\r' <"$output"; }
if lines | grep -q '^\[  FAILED  \]'; then
  echo "gtest-run.sh: a test failed, yet the program exited 0" >&2
  exit 1
fi
summary=$(lines | grep -E '^\[  PASSED  \] [0-9]+ tests?\.$' | tail -n 1)
if [ -z "$summary" ]; then
  echo "gtest-run.sh: the program exited 0 before GoogleTest's summary: its tests did not run to their end" >&2
  exit 1
fi
passed=${summary#'[  PASSED  ] '}
if [ "${passed%% *}" -eq 0 ]; then
  echo "gtest-run.sh: no test passed: the filter selects none, or every selected test skipped" >&2
  exit 1
fi
