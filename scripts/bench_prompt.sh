#!/usr/bin/env bash
# `make bench-prompt`: start-up time and memory of the Open-As prompt (five
# stored pictures: ordinary ones, PNGs at the bound, GIFs at the bound of the
# most frames) against a minimal one-dialog program, both under this Wine.
# Usage: scripts/bench_prompt.sh [runs]   (default 15)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${WENDARO_BUILD_DIR:-$top/build}")
runs=${1:-15}
WENDARO_TARGETS="prompt_bench" "$top/scripts/build.sh" "$build"
export WENDARO_BUILD_DIR=$build
source "$top/scripts/display.sh"
bench=$build/tests/app/dialogs
"$top/scripts/wine-run.sh" "$bench/prompt_bench.exe" "$build/wendaro.exe" "$bench/minimal_dialog.exe" "$runs"
