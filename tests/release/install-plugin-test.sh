#!/usr/bin/env bash
# scripts/install-plugin.sh with a throw-away HOME, as a musician runs it:
# the hosts' default search finds the LV2 plug-in (lv2ls without LV2_PATH),
# the VST 2 library loads and runs where it was put, a second run replaces
# the copies in place, and --uninstall leaves HOME exactly as it was, with
# the user's other plug-ins untouched.
# Usage: tests/release/install-plugin-test.sh (after a release-linux build,
# or it builds one)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d /tmp/ondrel-install-test.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

home=$tmp/home
mkdir -p "$home/.vst" "$home/.lv2/Other.lv2"
echo "another plug-in" >"$home/.vst/Other.so"
echo "another bundle" >"$home/.lv2/Other.lv2/manifest.ttl"
# An older copy of ours, made by hand, for the install to replace.
echo "an older Ondrel" >"$home/.vst/Ondrel.so"
listing() { (cd "$home" && find . -printf '%p %s\n' | LC_ALL=C sort); }
before=$(listing)

run_install() { env -u LV2_PATH -u XDG_DATA_HOME HOME="$home" "$root/scripts/install-plugin.sh" "$@"; }
lv2ls_here() { env -u LV2_PATH HOME="$home" lv2ls 2>/dev/null; }

if ! run_install >"$tmp/first.txt" 2>&1; then
  cat "$tmp/first.txt"
  echo "FAIL: the install did not succeed" >&2
  exit 1
fi
build=$root/build/release-linux
grep -qxF "VST 2: $home/.vst/Ondrel.so" "$tmp/first.txt" || fail "the install does not say where the VST 2 library went"

# The VST 2 library: the one just built, stripped, loaded from where it went.
probe=$build/bin/ondrel-probe
if ! "$probe" "$home/.vst/Ondrel.so" >"$tmp/probe.txt" 2>&1; then
  fail "the installed Ondrel.so does not load: $(cat "$tmp/probe.txt")"
fi
grep -qE '^  id +Odrl$' "$tmp/probe.txt" || fail "the installed library is not Ondrel: $(cat "$tmp/probe.txt")"
grep -qE '^  parameters +9$' "$tmp/probe.txt" || fail "the installed library does not have nine parameters"
file "$home/.vst/Ondrel.so" | grep -q ", stripped" || fail "the installed Ondrel.so is not stripped"

# The LV2 plug-in, through the hosts' default search path.
if [ -d "$build/lv2/Ondrel.lv2" ]; then
  uri=$(LV2_PATH=$build/lv2 lv2ls 2>/dev/null | head -n 1)
  [ -n "$uri" ] || fail "the build's own bundle lists no plug-in"
  grep -qxF "$uri" <(lv2ls_here) || fail "lv2ls does not find $uri in ~/.lv2"
  env -u LV2_PATH HOME="$home" lv2info "$uri" 2>/dev/null | grep -qF "file://$home/.lv2/Ondrel.lv2/" ||
    fail "lv2info does not show the bundle in ~/.lv2"
  grep -qxF "LV2:   $home/.lv2/Ondrel.lv2/" "$tmp/first.txt" || fail "the install does not say where the bundle went"
else
  fail "the release build has no LV2 bundle"
fi

# A second run replaces the copy in place: a new file renamed over the old,
# so a host that has the old one loaded keeps an intact mapping.
inode=$(stat -c %i "$home/.vst/Ondrel.so")
exec 5<"$home/.vst/Ondrel.so"
run_install >"$tmp/second.txt" 2>&1 || fail "the second install failed: $(cat "$tmp/second.txt")"
[ "$(stat -c %i "$home/.vst/Ondrel.so")" != "$inode" ] || fail "the second install wrote into the old file"
cmp -s /proc/self/fd/5 "$home/.vst/Ondrel.so" || fail "the old file held open changed under its reader"
exec 5<&-
ls "$home/.vst" "$home/.lv2/Ondrel.lv2" | grep -q 'ondrel-new' && fail "a temporary copy was left behind"

run_install --uninstall >"$tmp/uninstall.txt" 2>&1 || fail "--uninstall failed: $(cat "$tmp/uninstall.txt")"
[ -z "${uri:-}" ] || ! grep -qxF "$uri" <(lv2ls_here) || fail "lv2ls still finds $uri after --uninstall"
after=$(listing)
# The hand-made older copy was replaced and is gone with the uninstall;
# everything else is as it was.
expected=$(echo "$before" | grep -v '^\./\.vst/Ondrel\.so ')
if [ "$after" != "$expected" ]; then
  fail "--uninstall did not leave HOME as it was:"
  diff <(echo "$expected") <(echo "$after") >&2 || true
fi
run_install --uninstall >/dev/null 2>&1 && fail "a second --uninstall claims to have removed something"

[ "$failures" -eq 0 ] && echo "install-plugin.sh: installed, found by lv2ls, loaded, replaced in place, uninstalled cleanly"
[ "$failures" -eq 0 ]
