#!/usr/bin/env bash
# Builds and tests the named presets, or all of them:
#   linux       native Linux x86_64 (also the reference half of linux32's check)
#   linux-asan  with AddressSanitizer and UndefinedBehaviorSanitizer
#   linux-tsan  with ThreadSanitizer
#   win32       the 32-bit Windows DLL, checked statically (nothing here runs it)
#   win64       64-bit Windows, its tests under wine64 with a private X server
#   fuzz        a minute of fuzzing the host entries
#   linux32     32-bit Linux under qemu's user-mode emulator, compared with the
#               native build's sound
#   release     scripts/release.sh (the source archive only in a git checkout),
#               the Linux archive built again elsewhere for the same bytes, the
#               install script with a throw-away HOME, the installer under
#               wine, the format check without git
#   format      every C++ file as clang-format and .clang-format lay it out
# Every named preset runs even after one fails; the last lines say how each
# went. Usage: scripts/test.sh [PRESET...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

all=(linux linux-asan linux-tsan win32 win64 fuzz linux32 release format)
presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=("${all[@]}")
for preset in "${presets[@]}"; do
  case " ${all[*]} " in
    *" $preset "*) ;;
    *) echo "test.sh: unknown preset '$preset' (known: ${all[*]})" >&2; exit 2 ;;
  esac
done

"$root/scripts/install-deps.sh" all || exit 1

logs=$(mktemp -d /tmp/ondrel-test-logs.XXXXXX)
trap 'rm -rf "$logs"' EXIT

# Quiet on success; on failure the log's tail says why.
quietly() {
  local what=$1 log=$logs/$2.log
  shift 2
  if ! "$@" >"$log" 2>&1; then
    echo "!! $what failed; the end of its log:"
    tail -n 40 "$log"
    return 1
  fi
}

configure_and_build() {
  local preset=$1
  shift
  echo "== build $preset"
  quietly "configure $preset" "configure-$preset" cmake --preset "$preset" "$@" &&
    quietly "build $preset" "build-$preset" cmake --build --preset "$preset"
}

# A test run: its summary on success, its log's tail on failure.
tested() {
  local preset=$1
  shift
  quietly "tests of $preset" "test-$preset" "$@" &&
    grep -E "tests passed|Total Test time" "$logs/test-$preset.log"
}

fuzz_run() {
  local corpus
  corpus=$(mktemp -d)
  build/fuzz/bin/host_entries_fuzzer -max_total_time=60 -max_len=4096 -print_final_stats=1 "$corpus" 2>&1 | tail -n 3
  local status=${PIPESTATUS[0]}
  rm -rf "$corpus"
  return "$status"
}

# The project's C++ files: git's list in a checkout; in a source archive, or
# where git is not installed, every one below the root outside the build and
# release folders and hidden ones.
cpp_files() {
  if [ -e "$root/.git" ] && command -v git >/dev/null 2>&1; then
    git -C "$root" ls-files -z '*.cpp' '*.h'
  else
    (cd "$root" && find . \( -path ./build -o -path ./dist -o -name '.?*' \) -prune -o \
      -type f \( -name '*.cpp' -o -name '*.h' \) -printf '%P\0' | sort -z)
  fi
}

# Names the files whose layout differs from the house style;
# clang-format -i FILE lays one out.
format_check() {
  local report count
  count=$(cpp_files | tr -cd '\0' | wc -c)
  if [ "$count" -eq 0 ]; then
    echo "no C++ files found to check"
    return 1
  fi
  if report=$(cpp_files | xargs -0 clang-format --dry-run --Werror 2>&1); then
    echo "$count C++ files in the house layout"
    return 0
  fi
  echo "$report" | grep -E ": error:" | cut -d: -f1 | sort -u | sed 's/^/not in the house layout: /'
  return 1
}

# Runs one step of a longer preset: its output on success, its log's tail on
# failure; the preset goes on either way and fails at the end.
step() {
  local what=$1 name=$2
  shift 2
  echo "== $what"
  if quietly "$what" "$name" "$@"; then
    sed 's/^/   /' "$logs/$name.log"
    return 0
  fi
  return 1
}

release_checks() {
  local dist=$logs/dist failed=0 parts=linux,win64,win32 begin=$SECONDS
  git rev-parse --is-inside-work-tree >/dev/null 2>&1 && parts=$parts,source
  step "scripts/release.sh --only $parts" release scripts/release.sh --only "$parts" --out "$dist" || return 1
  echo "   release.sh took $((SECONDS - begin)) s"
  step "the Linux archive again, from a copy elsewhere without .git" reproducible \
    tests/release/reproducible-test.sh "$dist" || failed=1
  step "scripts/install-plugin.sh with a throw-away HOME" install-plugin \
    tests/release/install-plugin-test.sh || failed=1
  step "the installer under wine" installer \
    scripts/wine-session.sh tests/release/installer-test.sh "$(ls "$dist"/Ondrel-*-windows-x64-setup.exe)" \
    build/release-win64/bin/ondrel-probe.exe || failed=1
  step "the format check without git" format-without-git tests/release/format-without-git-test.sh || failed=1
  return "$failed"
}

run_preset() {
  local preset=$1
  case "$preset" in
    format)
      echo "== layout of the C++ files" && format_check ;;
    release)
      release_checks ;;
    linux | linux-asan | linux-tsan)
      configure_and_build "$preset" && tested "$preset" ctest --preset "$preset" ;;
    win32)
      configure_and_build win32 && tested win32 ctest --test-dir build/win32 --output-on-failure ;;
    win64)
      configure_and_build win64 && tested win64 scripts/wine-session.sh ctest --preset win64 ;;
    fuzz)
      configure_and_build fuzz && { echo "== fuzz the host entries for 60 s"; fuzz_run; } ;;
    linux32)
      # The native half of the agreement check comes from the linux build.
      echo "== build the native reference for linux32"
      quietly "configure linux" configure-linux-reference cmake --preset linux &&
        quietly "build the native reference" build-linux-reference \
          cmake --build --preset linux --target abi_agreement_render &&
        configure_and_build linux32 -DONDREL_NATIVE_BUILD_DIR="$root/build/linux" &&
        tested linux32 ctest --preset linux32 ;;
  esac
}

results=()
failed=0
started=$SECONDS
for preset in "${presets[@]}"; do
  begin=$SECONDS
  echo "== $preset"
  if run_preset "$preset"; then
    results+=("$(printf '%-11s passed  (%d s)' "$preset" $((SECONDS - begin)))")
  else
    results+=("$(printf '%-11s FAILED  (%d s)' "$preset" $((SECONDS - begin)))")
    failed=$((failed + 1))
  fi
done

echo
echo "== results"
printf '%s\n' "${results[@]}"
echo "total: $((${#presets[@]} - failed)) of ${#presets[@]} presets passed in $((SECONDS - started)) s"
[ "$failed" -eq 0 ]
