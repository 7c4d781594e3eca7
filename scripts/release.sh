#!/usr/bin/env bash
# Builds the release and writes it to dist/:
#   Ondrel-VERSION-linux-x86_64.tar.gz       Ondrel.so, Ondrel.lv2, INSTALL.txt, licences
#   Ondrel-VERSION-windows-x64.zip           Ondrel.dll (64-bit), INSTALL.txt, licences
#   Ondrel-VERSION-windows-x64-setup.exe     installer of the 64-bit DLL (NSIS)
#   Ondrel-VERSION-windows-x86.zip           Ondrel.dll (32-bit), INSTALL.txt, licences
#   Ondrel-VERSION-source.tar.gz             the source at this commit (needs git)
#   Ondrel-VERSION-*-debug.tar.gz / .zip     the debug information of each platform's binaries
#   SHA256SUMS
# The binaries in the archives are stripped; each carries a link to its debug
# file. Two runs from one commit give the same bytes: every time stamp is the
# commit's (SOURCE_DATE_EPOCH, taken from git unless set), entries are sorted,
# owners fixed, and the builds map their folders out of the binaries.
#
# Usage: scripts/release.sh [--only PART,...] [--out DIR]
#   PART: linux, win64 (zip and installer), win32, source. Default: all.
#   DIR:  where the files go (default dist/, emptied first).
set -euo pipefail
shopt -s inherit_errexit
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

parts=(linux win64 win32 source)
out=$root/dist
while [ $# -gt 0 ]; do
  case "$1" in
    --only)
      IFS=, read -r -a parts <<<"${2:?--only needs a list of parts}"
      shift 2 ;;
    --out)
      out=${2:?--out needs a folder}
      shift 2 ;;
    -h | --help)
      sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'
      exit 0 ;;
    *) echo "release.sh: unknown argument '$1' (see --help)" >&2; exit 2 ;;
  esac
done
for part in "${parts[@]}"; do
  case "$part" in
    linux | win64 | win32 | source) ;;
    *) echo "release.sh: unknown part '$part' (known: linux, win64, win32, source)" >&2; exit 2 ;;
  esac
done
wants() { case " ${parts[*]} " in *" $1 "*) return 0 ;; *) return 1 ;; esac; }

version=$(sed -n 's/^project(Ondrel VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release.sh: no version in CMakeLists.txt's project()" >&2; exit 1; }

in_git=false
git rev-parse --is-inside-work-tree >/dev/null 2>&1 && in_git=true
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  if ! $in_git; then
    echo "release.sh: not a git checkout: set SOURCE_DATE_EPOCH to the release's time (seconds since 1970)" >&2
    exit 1
  fi
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
# Exported: objcopy stamps the PE header of a DLL it rewrites with this time
# (the linker leaves it empty, -Wl,--no-insert-timestamp).
export SOURCE_DATE_EPOCH
# Time stamps in zip files are local times: UTC everywhere.
export TZ=UTC LC_ALL=C
if $in_git && [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release.sh: note: the tree has uncommitted changes; the binaries include them, the source archive does not" >&2
fi

work=$(mktemp -d /tmp/ondrel-release.XXXXXX)
trap 'rm -rf "$work"' EXIT
out=$(mkdir -p "$out" && cd "$out" && pwd)
find "$out" -mindepth 1 -maxdepth 1 -name 'Ondrel-*' -exec rm -rf {} +
rm -f "$out/SHA256SUMS"

# Quiet on success; on failure the log's tail says why.
quietly() {
  local what=$1 log=$work/$2.log
  shift 2
  if ! "$@" >"$log" 2>&1; then
    echo "!! $what failed; the end of its log:" >&2
    tail -n 40 "$log" >&2
    return 1
  fi
}

size_of() { stat -c %s "$1"; }
in_mb() { awk -v b="$1" 'BEGIN { printf "%.2f MB", b / 1048576 }'; }

# The largest stripped binary an archive may carry.
max_binary_bytes=$((1536 * 1024))

# Builds one release preset and installs it into a fresh folder; prints the
# folder.
build_and_stage() {
  local preset=$1 stage=$work/stage-$1
  echo "== build $preset" >&2
  quietly "configure $preset" "configure-$preset" cmake --preset "$preset"
  quietly "build $preset" "build-$preset" cmake --build --preset "$preset"
  rm -rf "$stage"
  quietly "install $preset" "install-$preset" cmake --install "build/$preset" --prefix "$stage"
  echo "$stage"
}

# Moves the debug information of every binary under FOLDER into the same
# place under DEBUG (FILE.debug), strips the binary and links it to its debug
# file, as debuggers look for it.
split_debug() {
  local folder=$1 debug=$2 objcopy=$3 file relative before after
  while IFS= read -r -d '' file; do
    relative=${file#"$folder"/}
    mkdir -p "$debug/$(dirname "$relative")"
    before=$(size_of "$file")
    "$objcopy" --only-keep-debug "$file" "$debug/$relative.debug"
    "$objcopy" --strip-all "$file"
    (cd "$debug/$(dirname "$relative")" && "$objcopy" --add-gnu-debuglink="$(basename "$relative").debug" "$file")
    after=$(size_of "$file")
    printf '   %-34s %9s before stripping, %9s after\n' "$relative" "$(in_mb "$before")" "$(in_mb "$after")" >&2
    if [ "$after" -gt "$max_binary_bytes" ]; then
      echo "!! $relative is $(in_mb "$after") stripped, more than the 1.5 MB an archive may carry" >&2
      return 1
    fi
  done < <(find "$folder" -type f \( -name '*.so' -o -name '*.dll' \) -print0 | sort -z)
}

# Same modes and times on every machine, whatever its umask.
normalise() {
  find "$1" -type d -exec chmod 755 {} +
  find "$1" -type f -exec chmod 644 {} +
  find "$1" -type f \( -name '*.so' -o -name '*.dll' -o -name '*.exe' \) -exec chmod 755 {} +
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

tar_gz() {
  local folder=$1 archive=$2
  normalise "$work/$folder"
  (cd "$work" && tar --format=gnu --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$SOURCE_DATE_EPOCH" \
    -cf - "$folder") | gzip -n -9 >"$archive"
}

zip_folder() {
  local folder=$1 archive=$2
  normalise "$work/$folder"
  # -X: no extra fields (owners, extended time stamps); entries in sorted order.
  (cd "$work" && find "$folder" | sort | zip -q -X -9 "$archive" -@)
}

# The texts every binary archive carries.
add_documents() {
  local folder=$1 kind=$2
  cp "packaging/$kind/INSTALL.txt" "$folder/INSTALL.txt"
  cp LICENSE THIRD-PARTY.txt "$folder/"
}

release_linux() {
  local stage name=Ondrel-$version-linux-x86_64
  stage=$(build_and_stage release-linux)
  mkdir -p "$work/$name" "$work/$name-debug"
  cp "$stage/lib/vst/Ondrel.so" "$work/$name/"
  if [ -d "$stage/lib/lv2/Ondrel.lv2" ]; then
    cp -r "$stage/lib/lv2/Ondrel.lv2" "$work/$name/"
  else
    echo "!! this build has no LV2 bundle; the archive carries the VST 2 library only" >&2
  fi
  add_documents "$work/$name" linux
  split_debug "$work/$name" "$work/$name-debug" objcopy
  tar_gz "$name" "$out/$name.tar.gz"
  tar_gz "$name-debug" "$out/$name-debug.tar.gz"
}

# One Windows zip, and its debug files beside it.
release_windows() {
  local preset=$1 arch=$2 objcopy=$3 stage name=Ondrel-$version-windows-$2
  stage=$(build_and_stage "$preset")
  mkdir -p "$work/$name" "$work/$name-debug"
  cp "$stage/lib/vst/Ondrel.dll" "$work/$name/"
  add_documents "$work/$name" windows
  split_debug "$work/$name" "$work/$name-debug" "$objcopy"
  zip_folder "$name" "$out/$name.zip"
  zip_folder "$name-debug" "$out/$name-debug.zip"
}

release_installer() {
  local folder=$work/Ondrel-$version-windows-x64 setup=$out/Ondrel-$version-windows-x64-setup.exe
  echo "== installer" >&2
  # makensis keeps each file's time for the installed copy: the folder was
  # set to the commit's time above.
  quietly "makensis" makensis makensis -V2 -NOCD -DVERSION="$version" -DPAYLOAD="$folder" -DOUTFILE="$setup" \
    "$root/packaging/windows/Ondrel.nsi"
}

release_source() {
  if ! $in_git; then
    echo "!! not a git checkout: no source archive" >&2
    return 1
  fi
  echo "== source" >&2
  git archive --format=tar --prefix="Ondrel-$version/" HEAD | gzip -n -9 >"$out/Ondrel-$version-source.tar.gz"
}

started=$SECONDS
# Not "wants X && release_X": errexit does not reach into a function called
# on the left of &&.
if wants linux; then release_linux; fi
if wants win64; then
  release_windows release-win64 x64 x86_64-w64-mingw32-objcopy
  release_installer
fi
if wants win32; then release_windows release-win32 x86 i686-w64-mingw32-objcopy; fi
if wants source; then release_source; fi

(cd "$out" && find . -maxdepth 1 -name 'Ondrel-*' -type f -printf '%f\n' | sort | xargs sha256sum >SHA256SUMS)
echo "== $out ($((SECONDS - started)) s)"
(cd "$out" && for file in $(find . -maxdepth 1 -type f -printf '%f\n' | sort); do
  printf '   %-44s %9s\n' "$file" "$(in_mb "$(size_of "$file")")"
done)
