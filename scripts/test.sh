#!/usr/bin/env bash
# Builds everything and runs the tests under Wine (Xvfb when there is no display).
# Usage: scripts/test.sh [build folder] [ctest -R regex]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$top/build}")
filter=${2:-}
"$top/scripts/build.sh" "$build"
export WENDARO_BUILD_DIR=$build
source "$top/scripts/display.sh"
cd "$build"
ctest --output-on-failure --timeout 300 -j "$(nproc)" ${filter:+-R "$filter"}
