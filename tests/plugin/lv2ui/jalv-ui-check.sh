#!/usr/bin/env bash
# The LV2 editor in a real host nobody here wrote: jalv.gtk3 embeds it through
# suil, on a private JACK server (dummy driver) and a private X server. The
# check finds the 560 by 291 editor window, clicks Mono and then Haas with
# real pointer input (XTest), and hears each change in what the plug-in plays
# inside jalv: a metronome feeds its input and jack_rec records its two
# outputs. At the default Stereo Mode (Dual) the sides differ, in Mono they
# are equal sample for sample, in Haas they differ again. So every click went
# from the editor through the host's write function into the host's control
# port and the sound.
# Usage: tests/plugin/lv2ui/jalv-ui-check.sh BUILD_DIR   (e.g. build/linux)
# Needs jalv, jackd2 and Xvfb; about 6 seconds.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=$(cd "${1:?usage: jalv-ui-check.sh BUILD_DIR}" && pwd)
probe="$build/bin/ondrel-x11-probe"
wavsides="$build/bin/ondrel-wav-sides"
[ -f "$build/lv2/Ondrel.lv2/Ondrel_ui.so" ] || { echo "jalv-ui-check: no LV2 bundle in $build/lv2" >&2; exit 1; }
for tool in "$probe" "$wavsides"; do
  [ -x "$tool" ] || { echo "jalv-ui-check: no $tool" >&2; exit 1; }
done

if [ "${ONDREL_JALV_INSIDE:-}" != 1 ]; then
  export ONDREL_JALV_INSIDE=1
  exec "$root/scripts/xvfb-session.sh" "$0" "$build"
fi

tmp=$(mktemp -d /tmp/ondrel-jalv.XXXXXX)
pids=()
cleanup() {
  local pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "jalv-ui-check: $*" >&2
  for log in "$tmp"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}
# Polls a command for up to about 10 seconds.
await() {
  for _ in $(seq 100); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

export JACK_DEFAULT_SERVER="ondrel-check-$$" JACK_NO_START_SERVER=1
jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 1024 >"$tmp/jackd.log" 2>&1 &
pids+=($!)
await jack_lsp || fail "the JACK server did not start"

LV2_PATH="$build/lv2" jalv.gtk3 --jack-name=ondrel -x urn:ondrel-audio:ondrel >"$tmp/jalv.log" 2>&1 &
pids+=($!)
await "$probe" find 560 291 || fail "jalv shows no 560x291 window"
editor=$("$probe" find 560 291)
grep -q "UI: *urn:ondrel-audio:ondrel#ui" "$tmp/jalv.log" || fail "jalv did not load the plug-in's own editor"

jack_metro -n metro -b 300 -f 880 -D 60 -A 0.5 >"$tmp/metro.log" 2>&1 &
pids+=($!)
await sh -c "jack_lsp | grep -q '^metro:'" || fail "the metronome did not start"
jack_connect "$(jack_lsp | grep '^metro:' | head -n 1)" ondrel:in || fail "cannot feed the plug-in"

# Records both outputs for a second; prints "equal", "differ" or "silent".
sides() {
  local wav="$tmp/$1.wav"
  jack_rec -f "$wav" -d 1 -b 16 ondrel:out_left ondrel:out_right >"$tmp/rec.log" 2>&1 || fail "jack_rec failed"
  "$wavsides" "$wav" || fail "cannot read the recording"
}

# A busy machine may take a while from the click to the sound: a recording
# made before the change arrived, or across it, is taken again.
hear() {
  local expected=$1 heard=
  for attempt in 1 2 3 4 5; do
    heard=$(sides "$2-$attempt")
    [ "$heard" = "$expected" ] && return 0
  done
  fail "$3 (heard: $heard)"
}

hear differ dual "at the default Stereo Mode (Dual) the two sides should differ"
"$probe" click "$editor" 278 215  # Mono
hear equal mono "after a click on Mono the two sides should be equal"
"$probe" click "$editor" 395 215  # Haas
hear differ haas "after a click on Haas the two sides should differ again"
echo "jalv-ui-check: jalv embedded the 560x291 editor; Mono and Haas reached the host's control port"
