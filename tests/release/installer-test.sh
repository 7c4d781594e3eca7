#!/usr/bin/env bash
# The Windows installer under wine, in the throw-away prefix that
# scripts/wine-session.sh makes: a silent install puts Ondrel.dll where the
# installer records it (Common Files\VST2 by default, or the folder /D names),
# the DLL loads and runs through its entry point, the uninstaller is
# registered, and a silent uninstall leaves Program Files as it was.
# Usage: scripts/wine-session.sh tests/release/installer-test.sh SETUP.exe PROBE.exe
set -euo pipefail
setup=$(realpath "$1")
probe=$(realpath "$2")
: "${WINEPREFIX:?run it through scripts/wine-session.sh}"
wine=/usr/lib/wine/wine64
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

drive_c=$WINEPREFIX/drive_c
listing() {
  local top
  for top in "Program Files" Plugins; do
    if [ -e "$drive_c/$top" ]; then (cd "$drive_c" && find "$top" -printf '%p\n'); fi
  done | LC_ALL=C sort
}
# Wine's reg prints "    NAME    REG_SZ    VALUE"; the value, or nothing.
reg_value() {
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
settings='HKLM\Software\Ondrel Audio\Ondrel'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ondrel'

# A silent install, and checks that the DLL is where the installer says
# and runs; ARGS for the installer after /S.
install_and_check() {
  local what=$1 expected=$2
  shift 2
  local dll unix_dll
  "$wine" "$setup" /S "$@" </dev/null >/dev/null 2>&1 || { fail "$what: the installer failed"; return; }
  dll=$(reg_value "$settings" Plugin)
  [ "$dll" = "$expected" ] || fail "$what: the installer recorded '$dll', not '$expected'"
  unix_dll=$("$wine" winepath -u "$expected" 2>/dev/null | tr -d '\r')
  [ -f "$unix_dll" ] || fail "$what: no DLL at $unix_dll"
  "$wine" "$probe" "$expected" </dev/null >"$WINEPREFIX/probe.txt" 2>&1 || fail "$what: the DLL does not load: $(cat "$WINEPREFIX/probe.txt")"
  grep -qE '^  id +Odrl' "$WINEPREFIX/probe.txt" || fail "$what: the installed DLL is not Ondrel"
  grep -qE '^  processed +64 frames' "$WINEPREFIX/probe.txt" || fail "$what: the installed DLL did not process"
  [ -n "$(reg_value "$uninstall_key" DisplayName)" ] || fail "$what: no entry under Add or Remove Programs"
}

# A silent uninstall through the registered uninstaller; Program Files (and
# C:\Plugins) must be as BEFORE.
uninstall_and_check() {
  local what=$1 before=$2 uninstaller
  uninstaller=$(reg_value "$uninstall_key" UninstallString | tr -d '"')
  [ -n "$uninstaller" ] || { fail "$what: no UninstallString"; return; }
  [ -f "$("$wine" winepath -u "$uninstaller" 2>/dev/null | tr -d '\r')" ] || fail "$what: the registered uninstaller is missing"
  # The uninstaller copies itself away and returns at once: wait for it.
  "$wine" "$uninstaller" /S </dev/null >/dev/null 2>&1 || fail "$what: the uninstaller failed to start"
  local waited=0
  while [ -n "$(reg_value "$uninstall_key" DisplayName)" ] || [ "$(listing)" != "$before" ]; do
    [ "$waited" -ge 300 ] && break
    sleep 0.2
    waited=$((waited + 1))
  done
  [ -z "$(reg_value "$uninstall_key" DisplayName)" ] || fail "$what: the uninstall left its Add or Remove Programs entry"
  [ -z "$(reg_value "$settings" Plugin)" ] || fail "$what: the uninstall left its settings"
  if [ "$(listing)" != "$before" ]; then
    fail "$what: the uninstall did not leave Program Files as it was:"
    diff <(echo "$before") <(listing) >&2 || true
  fi
}

round_trip() {
  local what=$1 before
  shift
  before=$(listing)
  install_and_check "$what" "$@"
  uninstall_and_check "$what" "$before"
}

round_trip "default folder" 'C:\Program Files\Common Files\VST2\Ondrel.dll'
# A folder of the user's choice, two levels of it new: both go again. (No
# space in it: wine quotes such an argument, and NSIS takes /D= unquoted.)
round_trip "chosen folder" 'C:\Plugins\VST64\Ondrel.dll' '/D=C:\Plugins\VST64'
# Installed again into another folder: the first copy goes, with the folders
# its install made, so that hosts do not find two; one uninstall then clears
# everything.
before=$(listing)
install_and_check "first of two" 'C:\Program Files\Common Files\VST2\Ondrel.dll'
install_and_check "moved" 'C:\Plugins\VST64\Ondrel.dll' '/D=C:\Plugins\VST64'
[ ! -e "$drive_c/Program Files/Common Files/VST2" ] || fail "moved: the first copy or its folder stayed"
uninstall_and_check "moved" "$before"

[ "$failures" -eq 0 ] && echo "installer: silent install, DLL found and run, silent uninstall clean (default and chosen folder, moved)"
[ "$failures" -eq 0 ]
