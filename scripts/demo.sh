#!/usr/bin/env bash
# The main job: builds the plug-in, the offline renderer and the snapshot
# tool, renders the built-in bass riff (or the file you name) through the
# plug-in, and draws the editor as it looks with the render's settings
# (ondrel-demo.png in the current folder).
# Usage: scripts/demo.sh [INPUT] [ondrel-render options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh" demo
# A build of its own without tests and benchmarks (the demo preset), so the
# demo needs only the few packages above.
(cd "$root" && cmake --preset demo >/dev/null && cmake --build --preset demo >/dev/null)

# The settings of the render, for the picture; --list and --help render nothing.
settings=()
renders=1
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  case "${args[i]}" in
    --) break ;;
    --set) if ((i + 1 < ${#args[@]})); then settings+=(--set "${args[i + 1]}"); i=$((i + 1)); fi ;;
    --set=*) settings+=(--set "${args[i]#--set=}") ;;
    --list | --help | -h) renders=0 ;;
  esac
done

"$root/build/demo/bin/ondrel-render" "$@"
if ((renders)); then
  "$root/build/demo/bin/ondrel-snapshot" ondrel-demo.png "${settings[@]}"
fi
