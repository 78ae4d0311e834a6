#!/usr/bin/env bash
# Stages in the sandbox what a Windows program under Wine cannot make for
# itself, before the end-to-end tests run, and removes it after:
#   C:\e2e_links\parent\Temp\link, a Unix link to C:\e2e_links\outside;
#   drives D: (fixed), E: (CD-ROM) and F: (network) on folders of the sandbox;
#   under C:\e2e_nl, links to files and folders of C:\e2e_nl\canary in every
#   folder a wash deletes in (see names_links_test.cpp), and drive G: (fixed)
#   on C:\e2e_nl\groot, an empty folder the test swaps with gstaged, whose
#   FOUND.nnn hold links: a Win32 move of a link moves its target instead.
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
# shellcheck source=SCRIPTDIR/../../tools/wine/sandbox-env.sh
. "$wine_tools/sandbox-env.sh"

dosdevices=$sandbox/prefix/dosdevices
links=$sandbox/prefix/drive_c/e2e_links
drives=$sandbox/e2e_drives
nl=$sandbox/prefix/drive_c/e2e_nl

# Link (below $nl) and what it leads to, relative to the link's folder. Each
# canary file holds "canary <name>"; the test expects exactly those bytes,
# under that name and under a hard link <name>.twin.
nl_links=(
    Temp/link.txt ../canary/temp.txt
    Temp/Sub/link.txt ../../canary/temp_sub.txt
    Temp/dirlink ../canary/temp_dir
    Temp/emptylink ../canary/temp_empty
    CustomOff/link.txt ../canary/custom_off.txt
    CustomOn/link.txt ../canary/custom_on.txt
    Profile/Cache/link.dat ../../canary/cache.txt
    Profile/cookies.txt ../canary/cookies.txt
    Profile/history.dat ../canary/history.txt
    AppData/Microsoft/Office/Recent/report.doc.lnk ../../../../canary/office.txt
    Cookies/link.txt ../canary/ie_cookie.txt
    gstaged/FOUND.000 ../canary/found_empty
    gstaged/FOUND.001 ../canary/found_dir
    gstaged/FOUND.003/link.txt ../../canary/found.txt
)

restart() {
    "$wine_tools/sandbox.sh" stop "$sandbox"
    "$wine_tools/sandbox.sh" start "$sandbox" >/dev/null
}

root_of() {
    if [[ $1 == g ]]; then echo "$nl/groot"; else echo "$drives/$1"; fi
}

# True when drive $1 (d to g) is one of ours, so it may be replaced or removed.
ours() {
    [[ ! -e $dosdevices/$1: && ! -L $dosdevices/$1: ]] ||
        [[ $(readlink -m -- "$dosdevices/$1:") == "$(root_of "$1")" ]]
}

stage_links() {
    local i link target dir
    mkdir -p -- "$nl/groot" "$nl/canary/temp_empty" "$nl/canary/found_empty"
    for dir in temp_dir found_dir; do
        mkdir -p -- "$nl/canary/$dir"
        printf 'canary %s/keep.txt' "$dir" >"$nl/canary/$dir/keep.txt"
    done
    for ((i = 0; i < ${#nl_links[@]}; i += 2)); do
        link=$nl/${nl_links[i]}
        target=${nl_links[i + 1]}
        mkdir -p -- "${link%/*}"
        if [[ $target == *.txt ]]; then
            printf 'canary %s' "${target##*/}" >"${link%/*}/$target"
            # A second name shows what was written through the link.
            ln -- "${link%/*}/$target" "${link%/*}/$target.twin"
        fi
        ln -s -- "$target" "$link"
    done
}

# Before any run: no link in drive C: may lead out of the sandbox.
check_links() {
    local link
    while IFS= read -r -d '' link; do
        if ! vw_inside "$link" "$sandbox"; then
            echo "link ${link#"$sandbox"/} leads to $(readlink -m -- "$link"), outside the sandbox" >&2
            exit 1
        fi
    done < <(find "$sandbox/prefix/drive_c" -type l -print0)
}

case $cmd in
set)
    for letter in d e f g; do
        ours "$letter" || { echo "drive $letter: is taken; not replacing it" >&2; exit 1; }
    done
    rm -rf -- "$links" "$drives" "$nl"
    mkdir -p -- "$links/parent/Temp" "$links/outside"
    ln -s ../../outside "$links/parent/Temp/link"
    stage_links
    for letter in d e f g; do
        mkdir -p -- "$(root_of "$letter")"
        ln -sfn -- "$(root_of "$letter")" "$dosdevices/$letter:"
    done
    check_links
    "$wine_tools/wine-run.sh" "$sandbox" "$helper" d:=hd e:=cdrom f:=network g:=hd
    restart
    ;;
clear)
    # rm removes links, never what they lead to.
    rm -rf -- "$links" "$nl"
    for letter in d e f g; do
        if ours "$letter"; then rm -f -- "$dosdevices/$letter:"; fi
    done
    rm -rf -- "$drives"
    "$wine_tools/wine-run.sh" "$sandbox" "$helper" d:= e:= f:= g:=
    restart
    ;;
*)
    echo "usage: ${0##*/} set|clear <project> <sandbox> <helper.exe>" >&2
    exit 2
    ;;
esac
