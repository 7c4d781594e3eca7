#!/usr/bin/env bash
# The main job: builds the plug-in and the offline renderer, then renders the
# built-in bass riff (or the file you name) through the plug-in.
# Usage: scripts/demo.sh [INPUT] [ondrel-render options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh" demo
# A build of its own without tests and benchmarks, so the demo needs only
# the few packages above.
cmake --preset linux -S "$root" -B "$root/build/demo" -DONDREL_TESTS=OFF -DONDREL_BENCH=OFF >/dev/null
cmake --build "$root/build/demo" -j"$(nproc)" --target Ondrel ondrel-render >/dev/null
exec "$root/build/demo/bin/ondrel-render" "$@"
