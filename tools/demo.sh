#!/usr/bin/env bash
# One real wash in a throwaway Wine sandbox: plants traces and canaries,
# runs vantrixwash.exe with every item on, and shows what went and what stayed.
# Usage: demo.sh <vantrixwash.exe> <demo-dir>
set -euo pipefail
here=$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")
exe=$(readlink -f -- "$1")
demo=$(readlink -m -- "$2")

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
w() { (cd "$WINEPREFIX/drive_c" && wine "$@" </dev/null 2>>"$log"); }
has_key() { w reg query "$1" >/dev/null; }

echo "demo: planting traces and canaries"
w reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs' /v MRUListEx /t REG_BINARY /d 00000000ffffffff /f >/dev/null
w reg add 'HKCU\Software\VantrixCanary' /v keep /t REG_SZ /d yes /f >/dev/null
w reg add 'HKLM\Software\VantrixCanary' /v keep /t REG_SZ /d yes /f >/dev/null
echo canary >"$WINEPREFIX/drive_c/canary.txt"

app="$WINEPREFIX/drive_c/Vantrix"
mkdir -p "$app/Custom"
cp "$exe" "$app/vantrixwash.exe"
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
INI

echo "demo: running C:\\Vantrix\\vantrixwash.exe"
start=$(date +%s%N)
rc=0
w 'C:\Vantrix\vantrixwash.exe' || rc=$?
echo "demo: the wash ended with exit code $rc after $(( ($(date +%s%N) - start) / 1000000 )) ms"

fail=0
row() { printf '%-28s %-10s %-10s %s\n' "$@"; }
echo
row "wash item" "before" "after" "canaries"
doc_after=present
has_key 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs' || doc_after=removed
canaries=intact
has_key 'HKCU\Software\VantrixCanary' && has_key 'HKLM\Software\VantrixCanary' &&
    [[ $(cat "$WINEPREFIX/drive_c/canary.txt") == canary ]] || canaries=LOST
row "Document history" "RecentDocs" "$doc_after" "$canaries"
echo "(the other items join this table as their washers land)"
echo "note: Wine's shell clears RecentDocs only while it has no per-type subkeys and"
echo "      leaves the shortcuts in the Recent folder; Windows removes both."
[[ $rc == 0 && $doc_after == removed && $canaries == intact ]] || fail=1
exit $fail
