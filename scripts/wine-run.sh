#!/usr/bin/env bash
# Runs a Windows program under Wine in the build folder's private 64-bit prefix.
# The prefix is made once, on demand, under a lock, so parallel callers are safe.
# WENDARO_BUILD_DIR names the build folder (default: the folder of this call).
set -euo pipefail

build_dir=${WENDARO_BUILD_DIR:-$PWD}
while [ ! -f "$build_dir/CMakeCache.txt" ] && [ "$build_dir" != / ]; do build_dir=$(dirname "$build_dir"); done
[ -f "$build_dir/CMakeCache.txt" ] || build_dir=${WENDARO_BUILD_DIR:-$PWD}

export WINEARCH=win64
export WINEPREFIX=${WENDARO_WINEPREFIX:-$build_dir/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No debugger on a crash: with stdin closed, Wine's debugger would end the
# crashed program with exit code 0 and a crashing test would pass.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"}
export WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
wine=${WINE:-/usr/lib/wine/wine64}

here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" "$WINEPREFIX"

if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: DISPLAY is not set; run through scripts/test.sh or under Xvfb" >&2
  exit 2
fi
# The first program that opens a window starts Wine's desktop process, which
# inherits that program's output and lives until the last Wine process of the
# run ends: given the caller's pipe, it would keep the caller (CTest) waiting
# that long. So the program writes into a file, streamed from there until the
# program ends, and the desktop holds only the file.
output=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$output"' EXIT
"$wine" "$@" <&0 >"$output" 2>&1 &
program=$!
tail -n +1 -s 0.05 --pid="$program" -f "$output"
status=0
wait "$program" || status=$?
exit "$status"
