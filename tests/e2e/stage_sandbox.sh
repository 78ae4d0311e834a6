#!/usr/bin/env bash
# Stages in the sandbox what the Wine tests need and a Windows program
# under Wine cannot make for itself, before win32_tests and e2e_tests run,
# and removes it after. For the contract cases: C:\vw-fs-links, Unix links
# to folders and a file beside their targets, and drive N:, a CD-ROM drive
# without a medium (its folder does not exist). For the wash tables: the
# tables themselves in C:\e2e_scenarios; every `drive` of any row
# (its root the folder C:\e2e_drives\<letter>); every `link` of a row: on C:
# parked in C:\e2e_park\<row>\C\... until the row moves the folder that
# holds it into place (a Win32 move of a link itself would move its target),
# on another drive in place for the whole suite (Wine holds on to a drive's
# root folder: it cannot be swapped), so every run that washes that drive
# sees it. Link paths hold no blanks. Wine reads drive types only when its
# server starts: the server is restarted.
# Usage: stage_sandbox.sh set|clear <project-dir> <sandbox-dir>
set -euo pipefail

cmd=$1 tables=$2/tests/scenarios wine=$2/tools/wine
sandbox=$(readlink -m -- "$3")
"$wine/sandbox.sh" init "$sandbox" >/dev/null
c=$sandbox/prefix/drive_c dosdevices=$sandbox/prefix/dosdevices
declare -A kinds=([fixed]=hd [cdrom]=cdrom [remote]=network [removable]=floppy) drives=([n]=cdrom)
links=() types=()  # links: each link's path in the sandbox, then where it leads

while read -r directive a b _; do
    case $directive in
    scenario) row=$a ;;
    link)
        at=$c/e2e_drives/${a:0:1}
        [[ ${a:0:1} == c ]] && at=$c/e2e_park/$row/c
        links+=("$at${a:2}" "$dosdevices/${b:0:1}:${b:2}")
        ;;
    drive)
        [[ -n ${kinds[$b]:-} && ${drives[$a]:-${kinds[$b]}} == "${kinds[$b]}" ]] ||
            { echo "drive $a: cannot be $b here" >&2; exit 1; }
        drives[$a]=${kinds[$b]}
        ;;
    esac
done < <(cat "$tables"/*.scn | tr '\\A-Z' '/a-z')  # Wine finds names in any case

for letter in "${!drives[@]}"; do
    [[ ! -e $dosdevices/$letter: && ! -L $dosdevices/$letter: ]] ||
        [[ $(readlink -m -- "$dosdevices/$letter:") == "$c/e2e_drives/$letter" ]] ||
        { echo "drive $letter: is taken; not replacing it" >&2; exit 1; }
    rm -f -- "$dosdevices/$letter:" && types+=("\"$letter:\"=-")
    [[ $cmd == set ]] && ln -s -- "$c/e2e_drives/$letter" "$dosdevices/$letter:" &&
        types[-1]="\"$letter:\"=\"${drives[$letter]}\""
done
# rm removes links, never what they lead to.
rm -rf -- "$c/e2e_park" "$c/e2e_scenarios" "$c/e2e_drives" "$c/vw-fs-links"
if [[ $cmd == set ]]; then
    letters=("${!drives[@]}")
    mkdir -p -- "$c/e2e_scenarios" "${letters[@]/#/$c/e2e_drives/}"
    rmdir -- "$c/e2e_drives/n"
    cp -- "$tables"/*.scn "$c/e2e_scenarios/"
    l=$c/vw-fs-links
    mkdir -p -- "$l"/{victim,target,canary/empty,canary/full,links}
    printf canary >"$l/canary/file.txt" && printf keep >"$l/canary/full/keep.txt"
    printf x >"$l/links/plain.txt"
    links+=("$l/victim/link" ../target "$l/links/flink.txt" ../canary/file.txt)
    links+=("$l/links/elink" ../canary/empty "$l/links/dlink" ../canary/full)
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
# The drive types, by Wine's own registry editor, in the sealed sandbox.
printf '%s\r\n' REGEDIT4 '' '[HKEY_LOCAL_MACHINE\Software\Wine\Drives]' "${types[@]}" >"$c/drives.reg"
eval "$("$wine/sandbox.sh" env "$sandbox")" && "$wine/sandbox.sh" check "$sandbox"
(cd "$c" && wine regedit /s 'C:\drives.reg') && rm -- "$c/drives.reg"
"$wine/sandbox.sh" stop "$sandbox" && "$wine/sandbox.sh" start "$sandbox" >/dev/null
