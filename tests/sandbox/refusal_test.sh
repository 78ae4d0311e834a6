#!/usr/bin/env bash
# Proves wine-run.sh starts nothing in a sandbox that leaks to the host, and
# that the check lets a clean one pass. Needs no real Wine: fake
# wine tools first on PATH log every call to a marker file.
set -euo pipefail

repo=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/../.." && pwd)
run="$repo/tools/wine/wine-run.sh"
tmp=$(mktemp -d)
trap 'rm -rf -- "$tmp"' EXIT
marker="$tmp/wine-called"
mkdir -p "$tmp/fakebin" "$tmp/build" "$tmp/outside"
for tool in wine wineserver wineboot; do
    # shellcheck disable=SC2016 # $PWD and the rest expand when the fake runs.
    printf '#!/bin/sh\n{ echo %s; echo "cwd=$PWD"; echo "prefix=$WINEPREFIX"; for a; do printf "arg=%%s\\n" "$a"; done; } >>"%s"\nexit 42\n' \
        "$tool" "$marker" >"$tmp/fakebin/$tool"
    chmod +x "$tmp/fakebin/$tool"
done
export PATH="$tmp/fakebin:$PATH"
printf 'MZ' >"$tmp/build/prog.exe"

# A sandbox as init leaves it: C: inside, Wine's own device entries, user
# folders that are plain folders or links that stay inside.
make_clean() {
    local sb=$1 p=$1/prefix
    mkdir -p "$p/dosdevices" "$p/drive_c/users/u/Desktop" "$sb/home"
    ln -s ../drive_c "$p/dosdevices/c:"
    ln -s /dev/ttyS0 "$p/dosdevices/com1"
    ln -s /dev/sda1 "$p/dosdevices/c::"
    ln -s ../../../../home "$p/drive_c/users/u/Documents"
    touch "$sb/.ready"
}

failed=0
# report NAME WHY: WHY empty when the case holds.
report() { if [[ -z $2 ]]; then echo "ok   - $1"; else echo "FAIL - $1: $2"; failed=$((failed + 1)); fi; }

n=0
while IFS='|' read -r name setup word <&3; do
    [[ $name == '#'* ]] && continue
    n=$((n + 1))
    sb="$tmp/sb$n" p="$tmp/sb$n/prefix" why="" rc=0
    make_clean "$sb" && eval "$setup" && rm -f "$marker"
    err=$("$run" "$sb" "$tmp/build/prog.exe" 2>&1 >/dev/null) || rc=$?
    [[ $rc -eq 125 ]] || why="exit $rc, expected 125"
    [[ ! -e $marker ]] || why="a Wine tool was started: $(head -1 "$marker")"
    [[ $err == "wine-run: refusing to start: "*"$word"* ]] || why="message does not name $word: $err"
    [[ ! -e $p/drive_c/bin ]] || why="programs were copied into the leaking sandbox"
    report "refuses: $name" "$why"
done 3<"$repo/tests/sandbox/leaks.txt"

# The clean sandbox passes the check silently (every Wine test then runs in one).
sb="$tmp/clean"
make_clean "$sb"
out=$("$repo/tools/wine/sandbox.sh" check "$sb" 2>&1) || out=${out:-non-zero exit}
report "check passes silently on a clean sandbox" "$out"
[[ $failed -eq 0 ]]
