#!/usr/bin/env bash
# Runs a test executable in a Wine prefix of its own whose screen has the given
# DPI (HKCU\Control Panel\Desktop\LogPixels). Wine reads the value when its
# server starts, so the prefix has a server of its own for the run, stopped at
# the end.
# Usage: dpi_prefix.sh <dpi> <exe> [arguments]
set -euo pipefail
dpi=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
build=${WENDARO_BUILD_DIR:?WENDARO_BUILD_DIR names the build folder}
prefix=$build/wine-prefix-dpi$dpi
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver64}
wine=${WINE:-/usr/lib/wine/wine64}

if [ ! -f "$prefix/.wendaro-dpi" ]; then
  "$here/wine-prefix.sh" "$prefix"
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    </dev/null >/dev/null 2>&1
  "$wineserver" -k || true
  "$wineserver" -w || true
  touch "$prefix/.wendaro-dpi"
fi
# A server that an interrupted run left behind still draws on its display.
"$wineserver" -k >/dev/null 2>&1 || true
# Started before wine-run.sh would start one that lives until it is stopped:
# this one serves the one program and, should a killed test skip the trap,
# ends after an idle spell.
"$wineserver" -p30 </dev/null >/dev/null 2>&1 || true
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
WENDARO_EXPECT_DPI=$dpi WENDARO_WINEPREFIX=$prefix "$here/wine-run.sh" "$@"
