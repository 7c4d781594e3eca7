#!/usr/bin/env bash
# Instructions per frame of the floor loop and of the main settings, counted
# by valgrind (repeatable, whatever else the machine does).
# Usage: bench/dsp/count-instructions.sh [build/linux/bin]
set -euo pipefail
bin=${1:-build/linux/bin}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
count() {
  valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='TOndrel::ProcessBlock*' \
    --toggle-collect='FloorLoop::Run*' "$bin/dsp_frame_work" "$@" >/dev/null 2>&1
  local total
  total=$(callgrind_annotate "$out" | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')
  awk -v t="$total" 'BEGIN { printf "%.1f", t / 51200 }'
}
floor=$(count floor)
echo "floor loop: $floor instructions per frame"
for setting in "2 1 1 default (Dual, anti-alias, bass mode)" "2 1 0 Dual, anti-alias, no bass mode" \
               "2 0 0 Dual, whole samples, no bass mode" "0 1 1 Mono, anti-alias, bass mode"; do
  set -- $setting
  n=$(count "$1" "$2" "$3")
  shift 3
  echo "$*: $n per frame, $(awk -v n="$n" -v f="$floor" 'BEGIN { printf "%.2f", n / f }') x floor"
done
