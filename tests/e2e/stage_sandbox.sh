#!/usr/bin/env bash
# Stages in the sandbox what the wash tables need and a Windows program
# under Wine cannot make for itself, before e2e_tests runs, and removes it
# after: the tables themselves in C:\e2e_scenarios; every `drive` of any row
# (its root the folder C:\e2e_drives\<letter>); every `link` of a row, parked
# in C:\e2e_park\<row>\<letter>\... until the row moves the folder that holds
# it into place (a Win32 move of a link itself would move its target). Wine
# reads drive types only when its server starts: the server is restarted.
# Usage: stage_sandbox.sh set|clear <project-dir> <sandbox-dir> <wine_drive_types.exe>
set -euo pipefail

[[ $# -eq 4 ]] || { echo "usage: ${0##*/} set|clear <project> <sandbox> <helper.exe>" >&2; exit 2; }
cmd=$1 project=$2 helper=$4
sandbox=$(readlink -m -- "$3")
"$project/tools/wine/sandbox.sh" init "$sandbox" >/dev/null
c=$sandbox/prefix/drive_c
dosdevices=$sandbox/prefix/dosdevices
declare -A kinds=([fixed]=hd [cdrom]=cdrom [remote]=network [removable]=floppy)
declare -A drives=()

# Unix path of a Windows path X:\a\b, through the drive's own entry.
unix() {
    local p=${1//\\//} letter=${1:0:1}
    echo "$dosdevices/${letter,,}:${p:2}"
}

stage() {
    local row="" directive a b
    while read -r directive a b _; do
        case $directive in
        scenario) row=$a ;;
        link)
            local p=${a//\\//}
            mkdir -p -- "$c/e2e_park/$row/${p:0:1}$(dirname -- "${p:2}")"
            ln -s -- "$(unix "$b")" "$c/e2e_park/$row/${p:0:1}${p:2}"
            ;;
        drive)
            [[ -n ${kinds[$b]:-} && ${drives[$a]:-${kinds[$b]}} == "${kinds[$b]}" ]] ||
                { echo "drive $a: cannot be $b here" >&2; exit 1; }
            drives[$a]=${kinds[$b]}
            ;;
        esac
    done < <(cat "$project"/tests/scenarios/*.scn)
}

restart() {
    "$project/tools/wine/sandbox.sh" stop "$sandbox"
    "$project/tools/wine/sandbox.sh" start "$sandbox" >/dev/null
}

# The letters our drives take, and whether $1 is free or already ours.
ours() {
    local link=$dosdevices/${1,,}:
    [[ ! -e $link && ! -L $link ]] || [[ $(readlink -m -- "$link") == "$c/e2e_drives/${1,,}" ]]
}

rm -rf -- "$c/e2e_park" "$c/e2e_scenarios"
stage
args=()
for letter in "${!drives[@]}"; do
    ours "$letter" || { echo "drive $letter: is taken; not replacing it" >&2; exit 1; }
    rm -f -- "$dosdevices/${letter,,}:"
    if [[ $cmd == set ]]; then
        mkdir -p -- "$c/e2e_drives/${letter,,}"
        ln -s -- "$c/e2e_drives/${letter,,}" "$dosdevices/${letter,,}:"
    fi
    args+=("${letter,,}:=$([[ $cmd == set ]] && echo "${drives[$letter]}")")
done
if [[ $cmd == set ]]; then
    mkdir -p -- "$c/e2e_scenarios"
    cp -- "$project"/tests/scenarios/*.scn "$c/e2e_scenarios/"
else
    rm -rf -- "$c/e2e_park" "$c/e2e_drives"
fi
# Before any run: no link in drive C: may lead out of the sandbox.
while IFS= read -r -d '' link; do
    [[ $(readlink -m -- "$link") == "$sandbox"/* ]] ||
        { echo "link ${link#"$sandbox"/} leads out of the sandbox" >&2; exit 1; }
done < <(find "$c" -type l -print0)
"$project/tools/wine/wine-run.sh" "$sandbox" "$helper" "${args[@]}"
restart
