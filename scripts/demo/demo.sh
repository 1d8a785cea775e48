#!/usr/bin/env bash
# The demo behind `make run`: the prompt for a file of a mapped extension, fed
# by the local catalogue service with the sample catalogue beside this script.
#
# A demo Wine prefix of its own (build/demo/wine-prefix) uses the service as
# its proxy and trusts its test CA. The local mapping table knows the
# extension, no picture is stored yet, so the prompt opens with the loading
# animation; its hidden child fetches the mapping table, the category's
# product list and five pictures, and the prompt shows them.
# Without a display it runs under Xvfb, saves build/demo/prompt.png and ends.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
here=$top/scripts/demo
build=$(realpath -m "${WENDARO_BUILD_DIR:-$top/build}")
demo=$build/demo
prefix=$demo/wine-prefix
state=$demo/service
extension=wdx

interactive=${DISPLAY:+yes}
WENDARO_TARGETS="wendaro catalogue_prefix" "$top/scripts/build.sh" "$build"
export WENDARO_BUILD_DIR=$build
source "$top/scripts/display.sh"

export WENDARO_WINEPREFIX=$prefix
wine_run() { "$top/scripts/wine-run.sh" "$@"; }
wine_quiet() { wine_run "$@" </dev/null >/dev/null 2>&1; }
wineserver=${WINESERVER:-/usr/lib/wine/wineserver64}

service() { python3 "$top/scripts/catalogue_service/catalogue_service.py" "$@"; }
cleanup() {
  WINEPREFIX=$prefix "$wineserver" -k >/dev/null 2>&1 || true
  service stop --state "$state" >/dev/null 2>&1 || true
  wendaro_stop_display
}
trap cleanup EXIT

echo "Starting the local catalogue service..."
mkdir -p "$demo"
service stop --state "$state" >/dev/null 2>&1 || true
# A server that an interrupted demo left behind still draws on its display.
WINEPREFIX=$prefix "$wineserver" -k >/dev/null 2>&1 || true
service start --state "$state" --routes "$here/catalogue" --lifetime 900 >/dev/null

echo "Preparing the demo Wine prefix ($prefix)..."
wine_quiet "$(find "$build" -name catalogue_prefix.exe | head -n1)" on "$state"
key='HKCU\Software\Dravik\Wendaro'
wine_quiet reg add "$key" /v FirstUse /t REG_DWORD /d 1 /f
wine_quiet reg delete "$key" /v EnableVELQ /f || true
wine_quiet reg delete "$key" /v MTABLE_UPDATE /f || true
data=$prefix/drive_c/ProgramData/Dravik/Wendaro
mkdir -p "$data"
cp "$here/catalogue/Mappingtable.xml" "$data/Mappingtable.xml"
rm -rf "$data/Images/$extension"
mkdir -p "$demo/files"
sample="$demo/files/Quarterly report.$extension"
printf 'A file that no installed program opens.\n' >"$sample"

echo "Running wendaro.exe on \"$sample\""
wine_run "$build/wendaro.exe" "Z:${sample//\//\\}" &
program=$!

if [ -n "$interactive" ]; then
  echo "Close the prompt to end the demo."
  wait "$program" || true
  exit 0
fi

# No display of our own: wait for the five pictures, let the prompt repaint,
# and keep a screenshot.
for _ in $(seq 1 120); do
  [ "$(ls "$data/Images/$extension" 2>/dev/null | grep -c '^pic0[1-5]\.')" -ge 5 ] && break
  sleep 0.5
done
sleep 2
shot=$demo/prompt.png
import -window root "$demo/screen.png"
convert "$demo/screen.png" -trim +repage "$shot" 2>/dev/null || cp "$demo/screen.png" "$shot"
kill "$program" 2>/dev/null || true
echo "Pictures stored: $(ls "$data/Images/$extension" 2>/dev/null | tr '\n' ' ')"
echo "Screenshot of the prompt: $shot"
