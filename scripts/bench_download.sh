#!/usr/bin/env bash
# The benchmark behind `make bench-download`: the download job against a plain
# WinINet read loop, 10 MiB bodies (the largest the job takes) over HTTP and
# HTTPS from the local catalogue service. It points the build's Wine prefix at
# the service while it runs, so do not run it while that build folder's tests
# run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${WENDARO_BUILD_DIR:-$top/build}")
bench=$build/bench-download
service() { python3 "$top/scripts/catalogue_service/catalogue_service.py" "$@"; }

WENDARO_TARGETS="bench_download catalogue_prefix" "$top/scripts/build.sh" "$build"
mkdir -p "$bench/routes"
route() { printf '{"url": "%s", "body_size": %d, "chunk_size": 1048576}' "$1" "$2"; }
{
  echo '{"routes": ['
  for scheme in http https; do
    route "$scheme://bench.wendaro.test/1m" $((1 << 20)); echo ,
    route "$scheme://bench.wendaro.test/10m" $((10 << 20)); [ $scheme = https ] || echo ,
  done
  echo ']}'
} >"$bench/routes/bench.json"

export WENDARO_BUILD_DIR=$build
source "$top/scripts/display.sh"
prefix_tool=$build/tests/catalogue/catalogue_prefix.exe
cleanup() {
  "$top/scripts/wine-run.sh" "$prefix_tool" off </dev/null >/dev/null 2>&1 || true
  service stop --state "$bench/service" || true
  wendaro_stop_display
}
trap cleanup EXIT
service start --state "$bench/service" --routes "$bench/routes" --lifetime 600 >/dev/null
"$top/scripts/wine-run.sh" "$prefix_tool" on "$bench/service" </dev/null >/dev/null 2>&1
"$top/scripts/wine-run.sh" "$build/tests/catalogue/bench_download.exe" \
  http://bench.wendaro.test https://bench.wendaro.test
