#!/usr/bin/env bash
# Builds every preset and runs every test: Linux, Linux with sanitizers,
# 64-bit Windows under wine; the 32-bit Windows DLL is built and checked
# statically.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/install-deps.sh" all

build() {
  echo "== build $1"
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

for preset in linux linux-asan win32 win64; do build "$preset"; done

echo "== test linux"
ctest --preset linux
echo "== test linux-asan"
ctest --preset linux-asan
echo "== test win64 (wine)"
scripts/wine-session.sh ctest --preset win64
echo "== test win32 (static checks)"
ctest --test-dir build/win32 --output-on-failure
