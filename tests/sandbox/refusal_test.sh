#!/usr/bin/env bash
# Proves wine-run.sh starts nothing in a sandbox that leaks to the host, and
# runs the program from C:\bin in one that does not. Needs no real Wine: fake
# wine tools first on PATH log every call to a marker file.
set -euo pipefail

repo=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/../.." && pwd)
run="$repo/tools/wine/wine-run.sh"
sandbox="$repo/tools/wine/sandbox.sh"

tmp=$(mktemp -d)
trap 'rm -rf -- "$tmp"' EXIT
marker="$tmp/wine-called"

mkdir -p "$tmp/fakebin" "$tmp/build" "$tmp/outside"
for tool in wine wineserver wineboot; do
    cat >"$tmp/fakebin/$tool" <<FAKE
#!/bin/sh
{ printf '%s\\n' "$tool" "cwd=\$PWD" "prefix=\$WINEPREFIX"; for a in "\$@"; do printf 'arg=%s\\n' "\$a"; done; } >>"$marker"
exit 42
FAKE
    chmod +x "$tmp/fakebin/$tool"
done
export PATH="$tmp/fakebin:$PATH"
printf 'MZ' >"$tmp/build/prog.exe"
printf 'MZ' >"$tmp/build/vantrixwash.exe"

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

passed=0 failed=0
report() {
    if [[ $1 == ok ]]; then
        passed=$((passed + 1)); echo "ok   - $2"
    else
        failed=$((failed + 1)); echo "FAIL - $2: $3"
    fi
}

# Each leak: name, how to open it on a clean sandbox, a word the refusal must name.
leak_cases=(
    "z: drive to the host root|ln -s / \$p/dosdevices/z:|z:"
    "d: drive to a host folder|ln -s /tmp \$p/dosdevices/d:|d:"
    "relative drive link climbing out|ln -s ../../.. \$p/dosdevices/e:|e:"
    "drive to a sibling whose name extends the sandbox's|mkdir -p \${sb}x && ln -s \${sb}x \$p/dosdevices/f:|f:"
    "dangling drive link outside|ln -s /nonexistent/x \$p/dosdevices/g:|g:"
    "user folder linked outside|rm -rf \$p/drive_c/users/u/Desktop && ln -s $tmp/outside \$p/drive_c/users/u/Desktop|Desktop"
    "user folder link nested deeper|mkdir -p \$p/drive_c/users/u/AppData && ln -s $tmp/outside \$p/drive_c/users/u/AppData/Roaming|Roaming"
    "HOME leading outside|rmdir \$sb/home && ln -s $tmp/outside \$sb/home|HOME"
)
n=0
for c in "${leak_cases[@]}"; do
    IFS='|' read -r name setup word <<<"$c"
    n=$((n + 1))
    sb="$tmp/sb$n" p="$tmp/sb$n/prefix"
    make_clean "$sb"
    eval "$setup"
    rm -f "$marker"
    rc=0
    err=$("$run" "$sb" "$tmp/build/prog.exe" 2>&1 >/dev/null) || rc=$?
    if [[ $rc -ne 125 ]]; then
        report fail "$name" "exit $rc, expected 125"
    elif [[ -e $marker ]]; then
        report fail "$name" "a Wine tool was started: $(head -1 "$marker")"
    elif [[ $err != "wine-run: refusing to start: "*"$word"* ]]; then
        report fail "$name" "message does not name $word: $err"
    elif [[ -e $p/drive_c/bin ]]; then
        report fail "$name" "programs were copied into the leaking sandbox"
    else
        report ok "refuses: $name"
    fi
done

# The clean sandbox passes the check silently and runs the program.
sb="$tmp/clean" p="$tmp/clean/prefix"
make_clean "$sb"
rm -f "$marker"
if out=$("$sandbox" check "$sb" 2>&1) && [[ -z $out ]]; then
    report ok "check passes silently on a clean sandbox"
else
    report fail "check on a clean sandbox" "${out:-non-zero exit}"
fi
rc=0
"$run" "$sb" "$tmp/build/prog.exe" one "two words" >/dev/null 2>&1 || rc=$?
expected="wine
cwd=$p/drive_c/bin
prefix=$p
arg=C:\\bin\\prog.exe
arg=one
arg=two words"
if [[ $rc -ne 42 ]]; then
    report fail "clean sandbox" "exit $rc, expected the program's 42"
elif [[ $(cat "$marker" 2>/dev/null) != "$expected" ]]; then
    report fail "clean sandbox" "wine called as: $(cat "$marker" 2>/dev/null || echo never)"
elif ! cmp -s "$tmp/build/vantrixwash.exe" "$p/drive_c/bin/vantrixwash.exe"; then
    report fail "clean sandbox" "sibling vantrixwash.exe not copied to C:\\bin"
else
    report ok "runs C:\\bin\\prog.exe in a clean sandbox, passes exit code and args, copies siblings"
fi

# A rebuilt program replaces the stale copy; an unchanged one is left alone.
echo rebuilt >"$tmp/build/prog.exe"
touch -d '+1 minute' "$tmp/build/prog.exe"
touch -d '-1 hour' "$p/drive_c/bin/vantrixwash.exe"
echo local >"$p/drive_c/bin/vantrixwash.exe"
touch -d '+2 minutes' "$p/drive_c/bin/vantrixwash.exe"
"$run" "$sb" "$tmp/build/prog.exe" >/dev/null 2>&1 || true
if [[ $(cat "$p/drive_c/bin/prog.exe") != rebuilt ]]; then
    report fail "copy only when newer" "rebuilt program not copied"
elif [[ $(cat "$p/drive_c/bin/vantrixwash.exe") != local ]]; then
    report fail "copy only when newer" "newer copy in C:\\bin was overwritten"
else
    report ok "copies a program only when it is newer than the one in C:\\bin"
fi

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
