#!/usr/bin/env bash
# Runs a command with a private X server of its own (Xvfb, 24-bit colour,
# MIT-SHM on) as $DISPLAY, and stops the server afterwards. The editor's
# window tests run each test this way, so that no test inherits another's
# windows or pointer state.
# Usage: scripts/xvfb-session.sh COMMAND [ARGS...]
# XVFB_SCREEN sets the screen's size and depth (default 1280x1024x24).
set -euo pipefail

tmp=$(mktemp -d /tmp/ondrel-xvfb.XXXXXX)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

# The server picks a free display number and writes it to descriptor 3.
exec 3>"$tmp/display"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp -noreset </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 200); do
  [ -s "$tmp/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "xvfb-session: Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
[ -s "$tmp/display" ] || { echo "xvfb-session: Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' <"$tmp/display")"

status=0
"$@" || status=$?
exit "$status"
