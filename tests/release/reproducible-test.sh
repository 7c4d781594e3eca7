#!/usr/bin/env bash
# Two builds of the Linux archive from one commit give the same bytes: the
# archive FIRST (made by scripts/release.sh in this tree) against one built
# from scratch in a copy of the tree at another path, without .git, with the
# commit's time given as SOURCE_DATE_EPOCH. The debug archive must agree too:
# the stripped library's debug link carries its checksum.
# Usage: tests/release/reproducible-test.sh FIRST_DIST_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
first=$(cd "$1" && pwd)
. "$root/tests/release/tree-copy.sh"
tmp=$(mktemp -d /tmp/ondrel-reproducible.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

version=$(sed -n 's/^project(Ondrel VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
copy=$tmp/elsewhere/Ondrel
copy_tree "$copy"
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
(cd "$copy" && scripts/release.sh --only linux --out "$tmp/second") >"$tmp/second.log" 2>&1 || {
  tail -n 40 "$tmp/second.log"
  echo "FAIL: the second build failed" >&2
  exit 1
}

failures=0
for name in "Ondrel-$version-linux-x86_64.tar.gz" "Ondrel-$version-linux-x86_64-debug.tar.gz"; do
  a=$(sha256sum <"$first/$name" | cut -d' ' -f1)
  b=$(sha256sum <"$tmp/second/$name" | cut -d' ' -f1)
  echo "$name"
  echo "  in the tree:             $a"
  echo "  from a copy elsewhere:   $b"
  if [ "$a" != "$b" ]; then
    echo "FAIL: $name differs between the two builds" >&2
    diff <(tar tvzf "$first/$name") <(tar tvzf "$tmp/second/$name") >&2 || true
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
