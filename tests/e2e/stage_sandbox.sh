#!/usr/bin/env bash
# Stages in the sandbox what the wash tables need and a Windows program
# under Wine cannot make for itself, before e2e_tests runs, and removes it
# after: the tables themselves in C:\e2e_scenarios; every `drive` of any row
# (its root the folder C:\e2e_drives\<letter>); every `link` of a row: on C:
# parked in C:\e2e_park\<row>\C\... until the row moves the folder that
# holds it into place (a Win32 move of a link itself would move its target),
# on another drive in place for the whole suite (Wine holds on to a drive's
# root folder: it cannot be swapped), so every run that washes that drive
# sees it. Wine reads drive types only when its server starts: the server is
# restarted.
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

declare -a links=()  # each link's path in the sandbox, then its target

read_tables() {
    local row="" directive a b p at letter
    while read -r directive a b _; do
        case $directive in
        scenario) row=$a ;;
        link)
            p=${a//\\//} letter=${a:0:1}
            at=$c/e2e_park/$row/C${p:2}
            [[ $letter == C ]] || at=$c/e2e_drives/${letter,,}${p:2}
            links+=("$at" "$(unix "$b")")
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

read_tables
for letter in "${!drives[@]}"; do
    ours "$letter" || { echo "drive $letter: is taken; not replacing it" >&2; exit 1; }
done
# rm removes links, never what they lead to.
rm -rf -- "$c/e2e_park" "$c/e2e_scenarios" "$c/e2e_drives"
args=()
for letter in "${!drives[@]}"; do
    rm -f -- "$dosdevices/${letter,,}:"
    if [[ $cmd == set ]]; then
        mkdir -p -- "$c/e2e_drives/${letter,,}"
        ln -s -- "$c/e2e_drives/${letter,,}" "$dosdevices/${letter,,}:"
        args+=("${letter,,}:=${drives[$letter]}")
    else
        args+=("${letter,,}:=")
    fi
done
if [[ $cmd == set ]]; then
    mkdir -p -- "$c/e2e_scenarios"
    cp -- "$project"/tests/scenarios/*.scn "$c/e2e_scenarios/"
    for ((i = 0; i < ${#links[@]}; i += 2)); do
        mkdir -p -- "$(dirname -- "${links[i]}")"
        ln -s -- "${links[i + 1]}" "${links[i]}"
    done
fi
# Before any run: no link in drive C: may lead out of the sandbox.
while IFS= read -r -d '' link; do
    [[ $(readlink -m -- "$link") == "$sandbox"/* ]] ||
        { echo "link ${link#"$sandbox"/} leads out of the sandbox" >&2; exit 1; }
done < <(find "$c" -type l -print0)
"$project/tools/wine/wine-run.sh" "$sandbox" "$helper" "${args[@]}"
restart
