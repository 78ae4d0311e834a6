#!/usr/bin/env bash
# One real wash in a throwaway Wine sandbox: plants traces and canaries,
# shows what vantrixpreview.exe foretells, runs vantrixwash.exe with every
# item on, and shows per wash item what was there before, what is left
# after, and whether the canaries beside it stayed; then whether the wash
# removed exactly what the preview listed.
# Usage: demo.sh <vantrixwash.exe> <demo-dir>
# (vantrixpreview.exe and url_cache_tool.exe from the same build must lie
# beside vantrixwash.exe)
set -euo pipefail
here=$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")
exe=$(readlink -f -- "$1")
cache_tool=$(dirname -- "$exe")/url_cache_tool.exe
preview=$(dirname -- "$exe")/vantrixpreview.exe
demo=$(readlink -m -- "$2")
checks="$here/demo/checks.txt"

if [[ -z ${VW_IN_XVFB:-} ]]; then
    VW_IN_XVFB=1 exec xvfb-run -a "$0" "$@"
fi

rm -rf "$demo"
"$here/wine/sandbox.sh" init "$demo"
"$here/wine/sandbox.sh" start "$demo"
trap '"$here/wine/sandbox.sh" stop "$demo"' EXIT
eval "$("$here/wine/sandbox.sh" env "$demo")"
"$here/wine/sandbox.sh" check "$demo"
log="$demo/wine.log"
drive_c="$WINEPREFIX/drive_c"
w() { (cd "$drive_c" && wine "$@" </dev/null >>"$log" 2>&1); }

echo "demo: planting traces and canaries"
cp "$here/demo/traces.reg" "$drive_c/traces.reg"
w regedit /s 'C:\traces.reg'
recent="$drive_c/users/demo/AppData/Roaming/Microsoft/Office/Recent"
mkdir -p "$recent" "$drive_c/demo/keep"
touch "$recent/budget.xls.lnk" "$recent/talk.ppt.lnk" "$recent/index.dat"
echo canary >"$drive_c/demo/canary.txt"
# The Temp folder the wash will find: the sandbox user's.
temp=$(cd "$drive_c" && wine cmd /c 'echo %TEMP%' 2>>"$log" | tr -d '\r')
temp_unix="$drive_c/${temp#C:\\}"
temp_unix=${temp_unix//\\//}
mkdir -p "$temp_unix/setup-1234/cab"
touch "$temp_unix/a.tmp" "$temp_unix/b.tmp" "$temp_unix/setup-1234/cab/x.cab" \
    "$temp_unix/setup-1234/readme.txt" "$temp_unix/../demo-profile-canary.txt"
# Scandisk leftovers in the root of C: (a fixed disk to Wine).
touch "$drive_c/FILE0000.CHK" "$drive_c/FILE0001.CHK" "$drive_c/demo/sub.chk"
mkdir -p "$drive_c/FOUND.000" "$drive_c/FOUND.002/inner" "$drive_c/FOUND.011"
touch "$drive_c/FOUND.000/FILE0000.CHK" "$drive_c/FOUND.002/inner/x" "$drive_c/FOUND.011/keep"
# Files of a program a custom list names, and the list itself.
mkdir -p "$drive_c/demo/app"
touch "$drive_c/demo/app/today.log" "$drive_c/demo/app/old.log" "$drive_c/demo/app/app.cfg"
# Two Netscape 6 profiles.
for p in default work; do
    n="$drive_c/demo/netscape/$p"
    mkdir -p "$n/Cache" "$n/mail/Inbox" "$n/mail/Local"
    touch "$n/Cache/0A1B.dat" "$n/cookies.txt" "$n/history.dat" "$n/netscape.hst" "$n/prefs.js" \
        "$n/mail/Inbox/Trash" "$n/mail/Local/Trash.snm" "$n/mail/Trash" "$n/mail/Inbox/Inbox"
done

# Internet Explorer: cache entries, cookies, downloaded controls.
urls=$(grep -F '|U|' "$checks" | cut -d'|' -f4)
cp "$cache_tool" "$drive_c/demo/url_cache_tool.exe"
(cd "$drive_c" && wine 'C:\demo\url_cache_tool.exe' add $urls >>"$log" 2>&1)
mkdir -p "$drive_c/demo/cookies" "$drive_c/demo/Downloaded Program Files/CONFLICT.1"
touch "$drive_c/demo/cookies/user@demo.test.txt" "$drive_c/demo/cookies/user@ads.test.txt" \
    "$drive_c/demo/cookies/index.dat" "$drive_c/demo/Downloaded Program Files/demo.ocx" \
    "$drive_c/demo/Downloaded Program Files/demo.inf" \
    "$drive_c/demo/Downloaded Program Files/CONFLICT.1/keep.inf"

# Two files in the Recycle Bin, which Wine keeps in the freedesktop trash.
mkdir -p "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info"
for f in old-letter.txt holiday.jpg; do
    echo deleted >"$XDG_DATA_HOME/Trash/files/$f"
    printf '[Trash Info]\nPath=/demo/%s\nDeletionDate=2026-12-01T10:00:00\n' "$f" \
        >"$XDG_DATA_HOME/Trash/info/$f.trashinfo"
    echo keep >"$drive_c/demo/keep/$f.txt"
done

# The registry as text, once per snapshot; every check reads it.
snapshot() {
    w regedit /e "C:\\$1-cu.reg" HKEY_CURRENT_USER
    w regedit /e "C:\\$1-lm.reg" 'HKEY_LOCAL_MACHINE\Software\VantrixCanary'
    w regedit /e "C:\\$1-cs.reg" 'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Code Store Database'
    for f in cu lm cs; do
        [[ -f $drive_c/$1-$f.reg ]] && iconv -f UTF-16 -t UTF-8 "$drive_c/$1-$f.reg"
    done | tr -d '\r' | tr '[:upper:]' '[:lower:]' >"$demo/$1.txt"
    (cd "$drive_c" && wine 'C:\demo\url_cache_tool.exe' count $urls 2>>"$log" | tr -d '\r') \
        >"$demo/$1.urls"
}
# How many of what one check names are present in snapshot $1.
present() {
    local snap=$demo/$1.txt what=$2 where=$3 value=${4:-}
    local key="[${where,,}]"
    case $what in
        K) grep -qxF -- "$key" "$snap" && echo 1 || echo 0 ;;
        # Through the environment: awk -v would read the backslashes as escapes.
        V) KEY=$key NAME="\"${value,,}\"=" awk '
               BEGIN { key = ENVIRON["KEY"]; name = ENVIRON["NAME"] }
               $0 == key { inside = 1; next }
               /^\[/ { inside = 0 }
               inside && index($0, name) == 1 { found = 1 }
               END { print found ? 1 : 0 }' "$snap" ;;
        F | N)
           local glob=${where/\%TEMP\%/$temp} found
           glob=${glob#C:\\}
           compgen -G "$drive_c/${glob//\\//}" | while IFS= read -r found; do
               if [[ $what == F || -f $found ]]; then echo "$found"; fi
           done | wc -l ;;
        D) compgen -G "$XDG_DATA_HOME/$where" | wc -l ;;
        # The cache is read by a Windows program; its count was taken with the snapshot.
        U) cat "$demo/$1.urls" ;;
    esac
}
count_all() {
    local snap=$1 row kind what where value
    while IFS='|' read -r row kind what where value; do
        [[ -z $row || $row == \#* || $kind == P ]] && continue
        echo "$row|$kind|$(present "$snap" "$what" "$where" "$value")"
    done <"$checks"
}

echo "demo: counting traces and canaries before the wash"
snapshot before
count_all before >"$demo/before.counts"

app="$drive_c/Vantrix"
mkdir -p "$app/Custom"
cp "$exe" "$app/vantrixwash.exe"
cp "$preview" "$app/vantrixpreview.exe"
printf '%s\r\n' '"K","HKEY_CURRENT_USER\Software\DemoApp\History",""' \
    '"V","HKEY_CURRENT_USER\Software\DemoApp","LastOpened"' \
    '"F","C:\demo\app\*.log",""' >"$app/Custom/demo-app.lst"
cat >"$app/Local.Ini" <<'INI'
[Standard Options]
FindHistory=1
DocumentHistory=1
RunHistory=1
RecycleBin=1
MediaPlayer=1
TempFiles=1
ScanTempFiles=1
MSOfficeTrack=1
IE=1
Netscape=1
[Wash Options]
SkipAllCustomWashItems=0
; the demo runs unattended: no closing box
SkipMessages=1
[IEOptions]
TempIEFiles=1
Cookies=1
DownloadDir=1
; Wine's URL history store is not implemented: on, it would end the run here
CleanHistory=0
IEConrolPanel=0
[Netscape Options]
Cache=1
Cookies=1
Clean=1
MailTrash=1
[MSOffice]
MSWord=1
MSPPT=1
MSExcel=1
MSAccess=1
MSOutlook=1
MSPHEditor=1
INI

# The preview reads the same Local.Ini and Custom folder beside it; its
# output goes through a file, as Wine's services would hold a pipe open.
for report in text json; do
    (cd "$drive_c" && wine 'C:\Vantrix\vantrixpreview.exe' $([[ $report == json ]] && echo --json) \
        </dev/null >"$demo/preview.$report" 2>>"$log")
done
echo "demo: what C:\\Vantrix\\vantrixpreview.exe foretells"
sed 's/^/    /' "$demo/preview.text"
# What is there to remove, one "kind|name" a line, names in lower case: F a
# file or folder of C: (but the cache's own files, which go with their
# entries), K a key, V a value (key|name), B a bin that holds something.
there() {
    find "$drive_c" -mindepth 1 -ipath '*/inetcache' -prune -o -printf 'c:/%P\n' |
        tr '/[:upper:]' '\\[:lower:]' | sed 's/^/F|/'
    awk '/^\[/ { key = substr($0, 2, length($0) - 2); print "K|" key; next }
         /^"/ && (n = index($0, "\"=")) { print "V|" key "|" substr($0, 2, n - 2) }
         /^@=/ { print "V|" key "|" }' "$demo/$1.txt"
    if compgen -G "$XDG_DATA_HOME/Trash/files/*" >/dev/null; then echo B; fi
}
# Entries below a key in the list are left out: a key goes with them.
tops() {
    awk -F'|' '{ line[NR] = $0 } $1 == "K" { key[$2] = 1 }
        END { for (i = 1; i <= NR; i++) {
                  split(line[i], f, "|"); p = f[2]; below = f[1] == "V" && (p in key)
                  while (!below && (n = match(p, /\\[^\\]*$/)) > 0) below = (p = substr(p, 1, n - 1)) in key
                  if (!below) print line[i] } }' | sort
}
there before | sort >"$demo/before.there"

echo "demo: running C:\\Vantrix\\vantrixwash.exe"
start=$(date +%s%N)
rc=0
w 'C:\Vantrix\vantrixwash.exe' || rc=$?
echo "demo: the wash ended with exit code $rc after $(( ($(date +%s%N) - start) / 1000000 )) ms"
echo "demo: counting what is left"
snapshot after
# The removals the preview listed, net of what it makes again, against
# what went; a document history cleared is its key. U: how many of the
# demo's cached URLs.
jq -r 'select(.action) | "\(.action)|\(.target)|\(.value // "")"' "$demo/preview.json" |
    sed 's/\\\\*/\\/g' | tr '[:upper:]' '[:lower:]' | awk -F'|' -v urls="${urls,,}" '
    $1 ~ /^delete (file|folder)$/ { gone["F|" $2] = 1 } $1 ~ /^create (file|folder)$/ { delete gone["F|" $2] }
    $1 == "delete key" { gone["K|" $2] = 1 } $1 == "create key" { delete gone["K|" $2] }
    $1 == "delete value" { gone["V|" $2 "|" $3] = 1 } $1 == "empty recycle bin" { gone["B"] = 1 }
    BEGIN { split(urls, u, " "); for (i in u) demo[u[i]] = 1 }
    $1 == "delete cache entry" && ($2 in demo) { cached++ }
    $1 == "clear document history" {
        gone["K|hkey_current_user\\software\\microsoft\\windows\\currentversion\\explorer\\recentdocs"] = 1 }
    END { for (k in gone) print k; if (cached) print "U|" cached }' | tops >"$demo/foretold"
{
    there after | sort | comm -23 "$demo/before.there" -
    cached=$(($(cat "$demo/before.urls") - $(cat "$demo/after.urls")))
    ((cached == 0)) || echo "U|$cached"
} | tops >"$demo/removed"
count_all after >"$demo/after.counts"

# One line per row: traces before, traces after, canaries intact of total.
fail=0
[[ $rc == 0 ]] || fail=1
printf '\n%-22s %7s %7s   %s\n' "wash item" "before" "after" "canaries"
while IFS= read -r row; do
    if pending=$(grep -m1 -F "$row|P|" "$checks"); then
        printf '%-22s %7s %7s   %s\n' "$row" - - "not shown: ${pending##*|}"
        continue
    fi
    # unseeded: traces that were not there before the run prove nothing.
    read -r before after kept total unseeded < <(paste -d'|' "$demo/before.counts" \
        "$demo/after.counts" | ROW=$row awk -F'|' '$1 == ENVIRON["ROW"] {
            if ($2 == "T") { b += $3; a += $6; u += ($3 == 0) } else { t++; k += ($6 > 0) }
        } END { print b + 0, a + 0, k + 0, t + 0, u + 0 }')
    verdict=ok
    if ((unseeded > 0 || after > 0 || kept < total)); then
        verdict=WRONG
        fail=1
    fi
    printf '%-22s %7s %7s   %s of %s intact  %s\n' "$row" "$before" "$after" "$kept" "$total" "$verdict"
done < <(grep -v '^#' "$checks" | cut -d'|' -f1 | awk 'NF && !seen[$0]++')
echo
if diff "$demo/foretold" "$demo/removed" >"$demo/agreement.diff"; then
    echo "demo: preview and wash agreed: $(wc -l <"$demo/foretold") removals"
else
    echo "demo: preview and wash differ (<: foretold, not removed; >: removed, not foretold):"
    grep '^[<>]' "$demo/agreement.diff"
    fail=1
fi
echo "note: Wine's shell clears RecentDocs only while it has no per-type subkeys and"
echo "      leaves the shortcuts in the Recent folder; Windows removes both."
exit $fail
