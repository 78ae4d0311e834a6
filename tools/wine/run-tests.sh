#!/usr/bin/env bash
# Runs the Windows preset's tests under Wine: one warm wineserver in the
# sandbox prefix, an Xvfb display for the tests that open windows.
# Usage: run-tests.sh <sandbox-dir> [ctest args...]
set -euo pipefail
here=$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")
sandbox=$1
shift

if [[ -z ${VW_IN_XVFB:-} ]]; then
    VW_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$sandbox" "$@"
fi

"$here/sandbox.sh" init "$sandbox"
"$here/sandbox.sh" start "$sandbox"
trap '"$here/sandbox.sh" stop "$sandbox"' EXIT
ctest --preset windows "$@"
