#!/usr/bin/env bash
# Draws the editor's pictures anew into editor/assets/: builds the generator
# (tools/artwork) in its own build folder and runs it. Commit the changed
# .bmp files with the change that made them; the artwork tests compare the
# committed files with the generator's output byte for byte.
# Usage: scripts/make-artwork.sh [BUILD_DIR]   (default build/artwork)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/artwork"}

# The generator draws text with FreeType and the Liberation fonts, which the
# demo's packages include.
"$root/scripts/install-deps.sh" demo

# The artwork preset, in the folder named.
(cd "$root" && cmake --preset artwork -B "$build" >/dev/null && cmake --build "$build" -j2 --target ondrel-artwork >/dev/null)
"$build/bin/ondrel-artwork" "$root/editor/assets"
echo "Pictures written to $root/editor/assets"
