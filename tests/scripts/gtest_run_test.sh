#!/usr/bin/env bash
# scripts/gtest-run.sh against a GoogleTest program under Wine that ends in
# each of the ways the runner must tell apart (run_to_end_probe.cpp).
# Usage: gtest_run_test.sh <gtest-run.sh> <command that runs the probe...>
set -uo pipefail
runner=$1
shift
probe=("$@")
failures=0

# expect <pass|fail> <how the probe ends> [probe arguments]
expect() {
  local expected=$1 end=$2 got=pass
  shift 2
  WENDARO_PROBE_END=$end "$runner" "${probe[@]}" "$@" >/dev/null 2>&1 || got=fail
  if [ "$got" = "$expected" ]; then
    echo "ok: '$end' $*: ${got}"
  else
    echo "FAILED: '$end' $*: ${got}, expected ${expected}"
    failures=$((failures + 1))
  fi
}

expect pass ""
expect fail exit-midway
expect fail fail
expect fail crash-after-summary
expect fail "" --gtest_filter=NoSuchTest.*
[ "$failures" -eq 0 ]
