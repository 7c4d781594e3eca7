#!/usr/bin/env bash
# Builds every preset and runs every test: Linux, Linux with AddressSanitizer
# and UndefinedBehaviorSanitizer, Linux with ThreadSanitizer, 64-bit Windows
# under wine, a minute of fuzzing; the 32-bit Windows DLL is built and its
# exports and imports are checked; last the 32-bit Linux build, run under
# qemu's user-mode emulator and compared with the Linux build's sound.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/install-deps.sh" all

build() {
  echo "== build $1"
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

for preset in linux linux-asan linux-tsan win32 win64 fuzz; do build "$preset"; done

echo "== test linux"
ctest --preset linux
echo "== test linux-asan"
ctest --preset linux-asan
echo "== test linux-tsan"
ctest --preset linux-tsan
echo "== test win64 (wine)"
scripts/wine-session.sh ctest --preset win64
echo "== test win32 (static checks of the DLL)"
ctest --test-dir build/win32 --output-on-failure
echo "== fuzz the host entries for 60 s"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
build/fuzz/bin/host_entries_fuzzer -max_total_time=60 -max_len=4096 -print_final_stats=1 "$corpus" 2>&1 | tail -n 3

build linux32
echo "== test linux32 (qemu-i386)"
ctest --preset linux32
