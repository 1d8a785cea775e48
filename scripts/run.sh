#!/usr/bin/env bash
# Builds wendaro.exe and runs it with the given arguments in the build's Wine prefix.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${WENDARO_BUILD_DIR:-$top/build}")
WENDARO_TARGETS=wendaro "$top/scripts/build.sh" "$build"
export WENDARO_BUILD_DIR=$build
source "$top/scripts/display.sh"
"$top/scripts/wine-run.sh" "$build/wendaro.exe" "$@"
