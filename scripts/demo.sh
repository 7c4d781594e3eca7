#!/usr/bin/env bash
# The main job: builds the plug-in and the offline renderer, then renders the
# built-in bass riff (or the file you name) through the plug-in.
# Usage: scripts/demo.sh [INPUT] [ondrel-render options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh" demo
cmake --preset linux -S "$root" >/dev/null
cmake --build "$root/build/linux" -j"$(nproc)" --target Ondrel ondrel-render >/dev/null
exec "$root/build/linux/bin/ondrel-render" "$@"
