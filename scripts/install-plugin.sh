#!/usr/bin/env bash
# Installs Ondrel for the Linux hosts on this machine: builds the release
# build if needed, then copies the VST 2 library to ~/.vst/ and the LV2
# bundle to ~/.lv2/, the folders hosts search by default, and says what went
# where. An older copy is replaced in place. What it installed is written
# down, so that --uninstall removes exactly that and nothing else.
#
# Usage: scripts/install-plugin.sh [--system] [--uninstall]
#   --system     /usr/local/lib/vst and /usr/local/lib/lv2, for every user
#                (run it as root)
#   --uninstall  remove what an earlier run installed
set -euo pipefail
shopt -s inherit_errexit
root=$(cd "$(dirname "$0")/.." && pwd)

system=false
uninstall=false
for arg in "$@"; do
  case "$arg" in
    --system) system=true ;;
    --uninstall) uninstall=true ;;
    -h | --help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "install-plugin.sh: unknown argument '$arg' (see --help)" >&2; exit 2 ;;
  esac
done

if $system; then
  vst_dir=/usr/local/lib/vst
  lv2_dir=/usr/local/lib/lv2
  record=/usr/local/share/ondrel/installed-files
else
  : "${HOME:?HOME is not set}"
  vst_dir=$HOME/.vst
  lv2_dir=$HOME/.lv2
  record=${XDG_DATA_HOME:-$HOME/.local/share}/ondrel/installed-files
fi

# The record: one "file PATH" or "dir PATH" a line; folders only when this
# script made them. A file outside the two plug-in folders is never removed,
# whatever the record says; a folder only when it is empty.
ours() {
  case "$1" in
    "$vst_dir"/* | "$lv2_dir"/*) return 0 ;;
    *) return 1 ;;
  esac
}

# Removes the files the record names, except those listed in the file KEEP.
remove_recorded() {
  local keep=$1 kind path
  [ -f "$record" ] || return 0
  while IFS=' ' read -r kind path; do
    [ "$kind" = file ] && ours "$path" || continue
    grep -qxF "$path" "$keep" && continue
    if [ -e "$path" ] || [ -L "$path" ]; then
      rm -f "$path"
      echo "removed $path"
    fi
  done <"$record"
}

if $uninstall; then
  if [ ! -f "$record" ]; then
    echo "install-plugin.sh: nothing to remove: no record of an install at $record" >&2
    exit 1
  fi
  made=$(sed -n 's/^dir //p' "$record" | sort -r)
  remove_recorded /dev/null
  rm -f "$record"
  # Deepest first; a folder that holds anything else stays.
  while IFS= read -r folder; do
    [ -n "$folder" ] && rmdir "$folder" 2>/dev/null && echo "removed $folder/" || true
  done <<<"$made"
  echo "Ondrel is uninstalled."
  exit 0
fi

build=$root/build/release-linux
if [ ! -f "$build/CMakeCache.txt" ]; then
  "$root/scripts/install-deps.sh" demo
  echo "== configuring the release build in $build"
  (cd "$root" && cmake --preset release-linux >/dev/null)
fi
echo "== building (only what changed)"
(cd "$root" && cmake --build --preset release-linux >/dev/null)

stage=$(mktemp -d /tmp/ondrel-install.XXXXXX)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage" >/dev/null
# Hosts need no debug information; a stripped library loads faster.
find "$stage" -type f -name '*.so' -exec strip --strip-all {} +

new_record=$stage/record
: >"$new_record"
# Folders this script makes now or made before are ours to remove later.
make_folder() {
  local folder=$1 missing=() parent
  parent=$folder
  while [ ! -d "$parent" ]; do
    missing+=("$parent")
    parent=$(dirname "$parent")
  done
  mkdir -p "$folder"
  for parent in "${missing[@]}"; do echo "dir $parent" >>"$new_record"; done
}
[ -f "$record" ] && grep '^dir ' "$record" >>"$new_record" || true

# Copies beside the target, then renames over it: a host that has the old
# library loaded keeps its mapping intact, and no one sees a half-written file.
install_file() {
  local source=$1 target=$2
  make_folder "$(dirname "$target")"
  cp "$source" "$target.ondrel-new"
  chmod "$(stat -c %a "$source")" "$target.ondrel-new"
  mv -f "$target.ondrel-new" "$target"
  echo "file $target" >>"$new_record"
}

if [ ! -f "$stage/lib/vst/Ondrel.so" ]; then
  echo "install-plugin.sh: the build made no Ondrel.so" >&2
  exit 1
fi
install_file "$stage/lib/vst/Ondrel.so" "$vst_dir/Ondrel.so"
echo "VST 2: $vst_dir/Ondrel.so"
if [ -d "$stage/lib/lv2/Ondrel.lv2" ]; then
  while IFS= read -r -d '' file; do
    install_file "$file" "$lv2_dir/${file#"$stage/lib/lv2/"}"
  done < <(find "$stage/lib/lv2/Ondrel.lv2" -type f -print0 | sort -z)
  echo "LV2:   $lv2_dir/Ondrel.lv2/"
else
  echo "install-plugin.sh: this build has no LV2 bundle (Debian: install lv2-dev); VST 2 only" >&2
fi

# Files an older install put there that this one does not carry.
grep '^file ' "$new_record" | cut -d' ' -f2- >"$stage/keep"
remove_recorded "$stage/keep"
make_folder "$(dirname "$record")"
sort -u "$new_record" >"$record"
echo "Record of the installed files: $record (scripts/install-plugin.sh --uninstall removes them)"
