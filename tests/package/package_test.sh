#!/usr/bin/env bash
# Unzips the Windows package into a sandbox, checks what it holds and that
# its executable is the tested one, then runs it there with the sample
# Local.Ini: it must end by itself with exit code 0.
# Usage: package_test.sh <package.zip> <tested vantrixwash.exe> <sandbox-dir>
set -euo pipefail
here=$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")
tools=$here/../../tools/wine
zip=$(readlink -f -- "$1")
tested=$(readlink -f -- "$2")
sandbox=$(readlink -m -- "$3")

[[ -n ${VW_IN_XVFB:-} ]] || VW_IN_XVFB=1 exec xvfb-run -a "$0" "$@"

fail() { echo "package test: $*" >&2; exit 1; }

"$tools/sandbox.sh" init "$sandbox" >/dev/null
"$tools/sandbox.sh" start "$sandbox" >/dev/null
trap '"$tools/sandbox.sh" stop "$sandbox"' EXIT
eval "$("$tools/sandbox.sh" env "$sandbox")"
"$tools/sandbox.sh" check "$sandbox"

dest="$WINEPREFIX/drive_c/pkg"
rm -rf "$dest" && mkdir -p "$dest"
unzip -q "$zip" -d "$dest"

expected=$'Custom/\nLocal.Ini\nREADME.txt\nvantrixie.exe\nvantrixpreview.exe\nvantrixwash.exe'
actual=$(cd "$dest" && find . -mindepth 1 | sed 's|^\./||; s|^Custom$|Custom/|' | LC_ALL=C sort)
[[ $actual == "$expected" ]] || fail "unexpected contents:"$'\n'"$actual"
cmp -s "$dest/vantrixwash.exe" "$tested" || fail "the packaged exe is not the tested one"
grep -q $'^\\[Standard Options\\]\r$' "$dest/Local.Ini" || fail "Local.Ini has no CRLF lines"

(cd "$dest" && timeout 60 wine 'C:\pkg\vantrixwash.exe' </dev/null >>"$sandbox/wine.log" 2>&1) ||
    fail "vantrixwash.exe with the sample Local.Ini ended with $?"
echo "package test: $(basename -- "$zip") holds the tested exe and runs cleanly"
