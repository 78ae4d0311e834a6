#!/usr/bin/env bash
# Stages in the sandbox what a Windows program under Wine cannot make for
# itself, before the end-to-end tests run, and removes it after:
#   C:\e2e_links\parent\Temp\link, a Unix link to C:\e2e_links\outside;
#   drives D: (fixed), E: (CD-ROM) and F: (network) on folders of the sandbox.
# Wine reads drive types only when its server starts, so the server and its
# services are restarted (no other test may run meanwhile).
# Usage: stage_sandbox.sh set|clear <project-dir> <sandbox-dir> <wine_drive_types.exe>
set -euo pipefail

[[ $# -eq 4 ]] || { echo "usage: ${0##*/} set|clear <project> <sandbox> <helper.exe>" >&2; exit 2; }
cmd=$1
wine_tools=$2/tools/wine
sandbox=$(readlink -m -- "$3")
helper=$4
"$wine_tools/sandbox.sh" init "$sandbox" >/dev/null

dosdevices=$sandbox/prefix/dosdevices
links=$sandbox/prefix/drive_c/e2e_links
drives=$sandbox/e2e_drives

restart() {
    "$wine_tools/sandbox.sh" stop "$sandbox"
    "$wine_tools/sandbox.sh" start "$sandbox" >/dev/null
}

# True when drive $1 (d, e, f) is one of ours, so it may be replaced or removed.
ours() {
    [[ ! -e $dosdevices/$1: && ! -L $dosdevices/$1: ]] ||
        [[ $(readlink -m -- "$dosdevices/$1:") == "$drives/$1" ]]
}

case $cmd in
set)
    for letter in d e f; do
        ours "$letter" || { echo "drive $letter: is taken; not replacing it" >&2; exit 1; }
    done
    rm -rf -- "$links" "$drives"
    mkdir -p -- "$links/parent/Temp" "$links/outside"
    ln -s ../../outside "$links/parent/Temp/link"
    for letter in d e f; do
        mkdir -p -- "$drives/$letter"
        ln -sfn -- "$drives/$letter" "$dosdevices/$letter:"
    done
    "$wine_tools/wine-run.sh" "$sandbox" "$helper" d:=hd e:=cdrom f:=network
    restart
    ;;
clear)
    rm -rf -- "$links"
    for letter in d e f; do
        if ours "$letter"; then rm -f -- "$dosdevices/$letter:"; fi
    done
    rm -rf -- "$drives"
    "$wine_tools/wine-run.sh" "$sandbox" "$helper" d:= e:= f:=
    restart
    ;;
*)
    echo "usage: ${0##*/} set|clear <project> <sandbox> <helper.exe>" >&2
    exit 2
    ;;
esac
