#!/usr/bin/env bash
# Runs a Windows program inside the sandbox; CMake's cross-compiling emulator.
# Usage: wine-run.sh <sandbox-dir> <program.exe> [args...]
# Exits with the program's exit code, or 125 when the sandbox is not sealed.
set -euo pipefail

here=$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")
# shellcheck source=SCRIPTDIR/sandbox-env.sh
. "$here/sandbox-env.sh"

if [[ $# -lt 2 ]]; then
    echo "usage: ${0##*/} <sandbox-dir> <program.exe> [args...]" >&2
    exit 2
fi
root=$(vw_sandbox_root "$1")
prog=$(readlink -f -- "$2")
shift 2

if [[ ! -e $root/.ready ]]; then
    mkdir -p "$root"
    "$here/sandbox.sh" init "$root" >>"$root/wine.log" 2>&1 ||
        { echo "wine-run: sandbox init failed, see $root/wine.log" >&2; exit 125; }
fi

vw_sandbox_env "$root"
if ! why=$(vw_sandbox_problem "$root"); then
    echo "wine-run: refusing to start: $why" >&2
    exit 125
fi

if [[ ! -f $prog ]]; then
    echo "wine-run: no such program: $prog" >&2
    exit 127
fi

# The sandbox has no drive for host paths, so the program and its siblings
# (a test may start vantrixwash.exe) are run from C:\bin.
bin="$WINEPREFIX/drive_c/bin"
mkdir -p "$bin"
(
    # Parallel tests copy the same files; a copy replaces the old file by
    # rename so a program already running from it keeps its own inode.
    flock 9
    for exe in "$prog" "$(dirname -- "$prog")"/*.exe; do
        [[ -f $exe ]] || continue
        dest="$bin/${exe##*/}"
        if [[ ! -e $dest || $exe -nt $dest ]]; then
            cp -p -- "$exe" "$dest.tmp.$$"
            mv -f -- "$dest.tmp.$$" "$dest"
        fi
    done
) 9>"$root/.copy-lock"

cd "$bin"
exec wine "C:\\bin\\${prog##*/}" "$@"
