#!/usr/bin/env bash
# Ondrel's LV2 bundle beside two chorus/flanger peers in lilv's lv2bench:
# Calf's MultiChorus and Flanger (Debian: calf-plugins, lilv-utils). Every
# run times the three in turn, so that whatever else the machine does falls
# on all of them alike; the figure is the median of the runs, in nanoseconds
# per frame, with each peer's ratio to Ondrel.
# Usage: bench/lv2/lv2bench-peers.sh [BUILD_DIR] [RUNS]   (default build/linux, 5)
set -euo pipefail
build=${1:-build/linux}
runs=${2:-5}
block=512
frames=4800000  # 100 s at 48 kHz
plugins=(urn:ondrel-audio:ondrel
         http://calf.sourceforge.net/plugins/MultiChorus
         http://calf.sourceforge.net/plugins/Flanger)

command -v lv2bench >/dev/null || { echo "lv2bench is not installed (Debian: lilv-utils)" >&2; exit 2; }
[[ -f $build/lv2/Ondrel.lv2/Ondrel_dsp.so ]] || { echo "no bundle in $build/lv2: build the linux preset first" >&2; exit 2; }
export LV2_PATH="$(cd "$build/lv2" && pwd):/usr/lib/lv2"
installed=$(lv2ls)
for uri in "${plugins[@]}"; do
  grep -qx "$uri" <<<"$installed" || { echo "$uri is not installed (Debian: calf-plugins)" >&2; exit 2; }
done

times=$(mktemp)
trap 'rm -f "$times"' EXIT
for ((run = 1; run <= runs; ++run)); do
  for uri in "${plugins[@]}"; do
    # lv2bench prints "SECONDS URI" for the one plug-in it ran.
    lv2bench -b "$block" -n "$frames" "$uri" 2>/dev/null | awk -v u="$uri" '$2 == u { print u, $1 }' >>"$times"
  done
done

echo "lv2bench, $block-frame blocks, $frames frames, median of $runs runs:"
ondrel=""
for uri in "${plugins[@]}"; do
  ns=$(awk -v u="$uri" -v n="$frames" '$1 == u { t[++k] = $2 } END {
         if (k == 0) exit 1
         for (i = 1; i <= k; ++i) for (j = i + 1; j <= k; ++j) if (t[j] < t[i]) { s = t[i]; t[i] = t[j]; t[j] = s }
         m = k % 2 ? t[(k + 1) / 2] : (t[k / 2] + t[k / 2 + 1]) / 2
         printf "%.1f", m / n * 1e9 }' "$times") || { echo "$uri: lv2bench gave no time" >&2; exit 1; }
  [[ -z $ondrel ]] && ondrel=$ns
  printf '%8s ns/frame  %5s x Ondrel  %s\n' "$ns" "$(awk -v a="$ns" -v b="$ondrel" 'BEGIN { printf "%.2f", a / b }')" "$uri"
done
