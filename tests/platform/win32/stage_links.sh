#!/usr/bin/env bash
# Stages in the sandbox what a Windows program under Wine cannot make for
# itself before win32_tests runs, and removes it after:
#   C:\vw-fs-links: Unix links to folders and a file beside their targets;
#   drive N:, a CD-ROM drive without a medium (its folder does not exist).
# Drive types take effect only when Wine's server starts: it is restarted.
# Usage: stage_links.sh set|clear <project-dir> <sandbox-dir> <wine_drive_types.exe>
set -euo pipefail

[[ $# -eq 4 ]] || { echo "usage: ${0##*/} set|clear <project> <sandbox> <helper.exe>" >&2; exit 2; }
cmd=$1
wine_tools=$2/tools/wine
sandbox=$(readlink -m -- "$3")
helper=$4
"$wine_tools/sandbox.sh" init "$sandbox" >/dev/null

links=$sandbox/prefix/drive_c/vw-fs-links
drive=$sandbox/prefix/dosdevices/n:
medium=$sandbox/no-medium

restart() {
    "$wine_tools/sandbox.sh" stop "$sandbox"
    "$wine_tools/sandbox.sh" start "$sandbox" >/dev/null
}

case $cmd in
set)
    if [[ -e $drive || -L $drive ]] && [[ $(readlink -m -- "$drive") != "$medium" ]]; then
        echo "drive n: is taken; not replacing it" >&2
        exit 1
    fi
    rm -rf -- "$links" "$medium"
    mkdir -p -- "$links/victim" "$links/target" "$links/canary/empty" "$links/canary/full" \
        "$links/links"
    ln -s ../target "$links/victim/link"
    printf canary >"$links/canary/file.txt"
    printf keep >"$links/canary/full/keep.txt"
    printf x >"$links/links/plain.txt"
    ln -s ../canary/file.txt "$links/links/flink.txt"
    ln -s ../canary/empty "$links/links/elink"
    ln -s ../canary/full "$links/links/dlink"
    ln -sfn -- "$medium" "$drive"
    "$wine_tools/wine-run.sh" "$sandbox" "$helper" n:=cdrom
    restart
    ;;
clear)
    rm -rf -- "$links"
    if [[ $(readlink -m -- "$drive") == "$medium" ]]; then rm -f -- "$drive"; fi
    "$wine_tools/wine-run.sh" "$sandbox" "$helper" n:=
    restart
    ;;
*)
    echo "usage: ${0##*/} set|clear <project> <sandbox> <helper.exe>" >&2
    exit 2
    ;;
esac
