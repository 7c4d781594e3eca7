#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, if any is missing.
# Usage: scripts/install-deps.sh [demo|all]
set -euo pipefail

demo_packages=(cmake g++ make pkg-config libsndfile1-dev libpng-dev libfreetype-dev fonts-liberation
  libx11-dev libxext-dev libxcb1-dev libxcb-shm0-dev lv2-dev)
all_packages=("${demo_packages[@]}"
  googletest libbenchmark-dev clang libclang-rt-14-dev clang-format
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 fonts-wine xvfb imagemagick libxtst-dev
  qemu-user-static g++-multilib
  # The third-party hosts and checkers the LV2 tests run: the validator,
  # lilv's offline host and benchmark, jalv with JACK's dummy driver, and
  # Calf's plug-ins as peers to measure against.
  lilv-utils sordi jalv jackd2 calf-plugins
  # Release archives and the Windows installer; valgrind for the instruction
  # counts of the benchmarks.
  nsis zip valgrind
  # The linux32 build's libraries: the renderer's, and those the native build
  # links for the controls' gallery, the platform layer's fonts and the
  # editor's X11 window.
  libsndfile1-dev:i386 libpng-dev:i386 libfreetype-dev:i386 libx11-dev:i386 libxext-dev:i386 libxtst-dev:i386
  libxcb1-dev:i386 libxcb-shm0-dev:i386)

case "${1:-all}" in
  demo) wanted=("${demo_packages[@]}") ;;
  *) wanted=("${all_packages[@]}") ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
native=()
foreign=()
for package in "${missing[@]}"; do
  case "$package" in
    *:i386) foreign+=("$package") ;;
    *) native+=("$package") ;;
  esac
done
install() {
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$@" >/dev/null
}
# The native packages go first, before i386 is a known architecture: wine64
# would otherwise bring the whole 32-bit wine along as a recommendation.
"${sudo_cmd[@]}" apt-get update -qq
[ ${#native[@]} -eq 0 ] || install "${native[@]}"
if [ ${#foreign[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  install --no-install-recommends "${foreign[@]}"
fi
