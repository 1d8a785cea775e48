#!/usr/bin/env bash
# `make bench-prompt`: start-up time of the Open-As prompt (five stored
# pictures) against a minimal one-dialog program, both under this Wine.
# Usage: scripts/bench_prompt.sh [runs]   (default 15)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${WENDARO_BUILD_DIR:-$top/build}")
runs=${1:-15}
WENDARO_TARGETS="prompt_bench" "$top/scripts/build.sh" "$build"
export WENDARO_BUILD_DIR=$build
source "$top/scripts/display.sh"
winpath() { echo "Z:${1//\//\\}"; }
bench=$(find "$build" -name prompt_bench.exe | head -n1)
minimal=$(find "$build" -name minimal_dialog.exe | head -n1)
"$top/scripts/wine-run.sh" "$bench" "$(winpath "$build/wendaro.exe")" "$(winpath "$minimal")" "$runs"
