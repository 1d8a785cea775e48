#!/usr/bin/env bash
# Sourced: gives the caller a display. Without one, starts Xvfb on a free
# display number and stops it (and the build's wineserver) when the caller exits.
wendaro_xvfb_pid=""
wendaro_stop_wineserver() {
  if [ -n "${WENDARO_BUILD_DIR:-}" ]; then
    WINEPREFIX="$WENDARO_BUILD_DIR/wine-prefix" /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  fi
}
wendaro_stop_display() {
  wendaro_stop_wineserver
  [ -n "$wendaro_xvfb_pid" ] && kill "$wendaro_xvfb_pid" 2>/dev/null || true
}
if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$fifo" >/dev/null 2>&1 &
  wendaro_xvfb_pid=$!
  read -r -t 20 number <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  # A server that an interrupted run left behind still draws on its display.
  wendaro_stop_wineserver
fi
trap wendaro_stop_display EXIT
