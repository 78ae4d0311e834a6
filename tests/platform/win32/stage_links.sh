#!/usr/bin/env bash
# Stages in the sandbox what a Windows program under Wine cannot make for
# itself before win32_tests runs, and removes it after:
#   C:\vw-fs-links: Unix links to folders and a file beside their targets;
#   drive N:, a CD-ROM drive without a medium (its folder does not exist).
# Drive types take effect only when Wine's server starts: it is restarted.
# Usage: stage_links.sh set|clear <project-dir> <sandbox-dir> <wine_drive_types.exe>
set -euo pipefail
usage="usage: ${0##*/} set|clear <project> <sandbox> <helper.exe>"
[[ $# -eq 4 && ($1 == set || $1 == clear) ]] || { echo "$usage" >&2; exit 2; }
tools=$2/tools/wine sandbox=$(readlink -m -- "$3") helper=$4
"$tools/sandbox.sh" init "$sandbox" >/dev/null
links=$sandbox/prefix/drive_c/vw-fs-links drive=$sandbox/prefix/dosdevices/n: medium=$sandbox/no-medium
rm -rf -- "$links"
if [[ $1 == set ]]; then
    if [[ -e $drive || -L $drive ]] && [[ $(readlink -m -- "$drive") != "$medium" ]]; then
        echo "drive n: is taken; not replacing it" >&2
        exit 1
    fi
    rm -rf -- "$medium"
    mkdir -p -- "$links"/{victim,target,canary/empty,canary/full,links}
    ln -s ../target "$links/victim/link"
    printf canary >"$links/canary/file.txt"
    printf keep >"$links/canary/full/keep.txt"
    printf x >"$links/links/plain.txt"
    ln -s ../canary/file.txt "$links/links/flink.txt"
    ln -s ../canary/empty "$links/links/elink"
    ln -s ../canary/full "$links/links/dlink"
    ln -sfn -- "$medium" "$drive"
    "$tools/wine-run.sh" "$sandbox" "$helper" n:=cdrom
else
    if [[ $(readlink -m -- "$drive") == "$medium" ]]; then rm -f -- "$drive"; fi
    "$tools/wine-run.sh" "$sandbox" "$helper" n:=
fi
"$tools/sandbox.sh" stop "$sandbox"
"$tools/sandbox.sh" start "$sandbox" >/dev/null
