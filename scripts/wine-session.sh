#!/usr/bin/env bash
# Runs a command with a throw-away 64-bit wine prefix and a private X server,
# set up the way the Windows tests need it; cleans up after itself.
# Usage: scripts/wine-session.sh COMMAND [ARGS...]
set -euo pipefail

# The X server comes from the one script that starts them; this script runs
# again inside it.
if [ -z "${ONDREL_WINE_X:-}" ]; then
  export ONDREL_WINE_X=1 XVFB_SCREEN=1600x1200x24
  exec "$(dirname "$0")/xvfb-session.sh" "$0" "$@"
fi
unset ONDREL_WINE_X XVFB_SCREEN

tmp=$(mktemp -d /tmp/ondrel-wine.XXXXXX)
holder_pid=
cleanup() {
  [ -n "$holder_pid" ] && kill "$holder_pid" 2>/dev/null || true
  /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver64 -w >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT

export WINEPREFIX="$tmp/prefix" WINEARCH=win64 WINEDEBUG=-all
# Without the debugger a crash always ends the program with a non-zero code.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winedbg.exe=d"
# The server and wine's background services are started with their output
# on /dev/null: a service that inherits a test's output pipe would keep the
# pipe open, and whoever reads it would wait for ever.
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver64 -p </dev/null >/dev/null 2>&1
/usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
# Wine closes its desktop a few seconds after the last program on it ends, and
# opening it again cost each of the next window-using test programs 10 to 15 s
# (measured). An idle program, waiting on a pipe that never delivers, keeps
# the desktop open for the whole session.
mkfifo "$tmp/hold"
/usr/lib/wine/wine64 cmd.exe <"$tmp/hold" >/dev/null 2>&1 &
holder_pid=$!
exec 4>"$tmp/hold"

"$@"
