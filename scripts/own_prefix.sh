#!/usr/bin/env bash
# Runs a test executable in a Wine prefix of its own, with a server of its own
# for the run, stopped at the end: its registry, named objects and screen
# settings are apart from those of every other test of the run.
# Usage: own_prefix.sh dpi<N> <exe> [arguments]
#          the screen has N dots per inch (HKCU\Control Panel\Desktop\LogPixels;
#          Wine reads it when its server starts)
#        own_prefix.sh catalogue <exe> [arguments]
#          the local catalogue service of the run is the prefix's proxy, and its
#          test CA is trusted there (tests/catalogue/catalogue_prefix.exe)
set -euo pipefail
kind=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
build=${WENDARO_BUILD_DIR:?WENDARO_BUILD_DIR names the build folder}
prefix=$build/wine-prefix-$kind
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver64}
wine=${WINE:-/usr/lib/wine/wine64}

if [ ! -f "$prefix/.wendaro-$kind" ]; then
  "$here/wine-prefix.sh" "$prefix"
  case $kind in
    dpi*) "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${kind#dpi}" /f \
            </dev/null >/dev/null 2>&1 ;;
  esac
  "$wineserver" -k || true
  "$wineserver" -w || true
  touch "$prefix/.wendaro-$kind"
fi
# A server that an interrupted run left behind still draws on its display.
"$wineserver" -k >/dev/null 2>&1 || true
# Started before wine-run.sh would start one that lives until it is stopped:
# this one serves the one program and, should a killed test skip the trap,
# ends after an idle spell.
"$wineserver" -p30 </dev/null >/dev/null 2>&1 || true
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
export WENDARO_WINEPREFIX=$prefix
case $kind in
  dpi*) export WENDARO_EXPECT_DPI=${kind#dpi} ;;
  # The service's port is the run's own: set anew each time.
  catalogue) "$here/wine-run.sh" "$build/tests/catalogue/catalogue_prefix.exe" on "$build/catalogue-service" ;;
esac
"$here/wine-run.sh" "$@"
