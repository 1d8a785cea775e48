#!/usr/bin/env bash
# Makes (once) the Wine prefix named by $1 and keeps one wineserver alive for it
# until it is stopped (wineserver -k).
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No debugger on a crash: with stdin closed, Wine's debugger would end the
# crashed program with exit code 0 and a crashing test would pass.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver64}
wine=${WINE:-/usr/lib/wine/wine64}

mkdir -p "$(dirname "$prefix")"
if [ ! -f "$prefix/.wendaro-ready" ]; then
  exec 9>"$prefix.lock"
  flock 9
  if [ ! -f "$prefix/.wendaro-ready" ]; then
    rm -rf "$prefix"
    # Wine's service processes inherit stdio: keep them off the caller's pipes.
    "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
    reg() { "$wine" reg add "$@" /f </dev/null >/dev/null 2>&1; }
    # Without a window manager every closed managed window costs two seconds.
    reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
    # A crash must end the process, not open a modal dialog.
    reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    "$wineserver" -w
    touch "$prefix/.wendaro-ready"
  fi
  exec 9>&-
fi
# Tahoma for the dialogs and Marlett for the title bars' buttons (without it
# they show letters). Checked on every call, so that a prefix made before a
# font was added gets it; copied under another name and renamed into place,
# so that a program starting beside this never reads half a font.
fonts=$prefix/drive_c/windows/Fonts
for f in /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf; do
  if [ -f "$f" ] && [ ! -f "$fonts/${f##*/}" ]; then
    cp "$f" "$fonts/.${f##*/}.$$" && mv -f "$fonts/.${f##*/}.$$" "$fonts/${f##*/}" || true
  fi
done
# One warm wineserver for the whole run, started with stdio detached. It
# persists until it is stopped (CTest's wine_stop, the scripts' traps): left
# to end itself after an idle spell, it would do so in the middle of a busy
# run while a test starts, and a process that connects as it shuts down is
# cut off without a word.
"$wineserver" -p </dev/null >/dev/null 2>&1 || true
# The first Wine process of a server starts Wine's own services, which inherit
# its stdio: start them here, detached, so no test's output pipe is held open.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
