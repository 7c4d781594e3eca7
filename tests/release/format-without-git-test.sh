#!/usr/bin/env bash
# The format check where there is no git: in a copy of the tree without .git
# and with a git on the PATH that is "not found", scripts/test.sh format
# checks as many files as git lists here, passes, and names a file that is
# then laid out wrongly.
# Usage: tests/release/format-without-git-test.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/release/tree-copy.sh"
tmp=$(mktemp -d /tmp/ondrel-format.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

copy=$tmp/Ondrel
copy_tree "$copy"
mkdir -p "$tmp/bin"
printf '#!/bin/sh\necho "git: command not found" >&2\nexit 127\n' >"$tmp/bin/git"
chmod +x "$tmp/bin/git"
# A build folder's files are not the project's.
mkdir -p "$copy/build/x" && echo "int   f( ){return 0;}" >"$copy/build/x/generated.cpp"
check() { (cd "$copy" && PATH=$tmp/bin:$PATH scripts/test.sh format) >"$tmp/out.txt" 2>&1; }

failures=0
expected=$(cd "$root" && git ls-files '*.cpp' '*.h' | wc -l)
if check; then
  grep -q "^$expected C++ files in the house layout" "$tmp/out.txt" ||
    { echo "FAIL: not the $expected files git lists:" >&2; cat "$tmp/out.txt" >&2; failures=$((failures + 1)); }
else
  echo "FAIL: the format check failed without git:" >&2
  cat "$tmp/out.txt" >&2
  failures=$((failures + 1))
fi

printf 'int   Misplaced( ){return 0;}\n' >"$copy/core/Misplaced.cpp"
if check || ! grep -q "not in the house layout: core/Misplaced.cpp" "$tmp/out.txt"; then
  echo "FAIL: the check without git does not name a file in the wrong layout:" >&2
  cat "$tmp/out.txt" >&2
  failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "format check without git: $expected files, a wrong layout named"
[ "$failures" -eq 0 ]
