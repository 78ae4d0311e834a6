#!/usr/bin/env bash
# Runs every benchmark case under Wine in a sandbox of its own and prints one
# line per case, the scaling of the Temp wash and each process's peak memory.
# Usage: run.sh <sandbox-dir> <bin-dir> [--smoke] [--reps N] [--temp N]
#               [--temp-small N] [--tree N] [--prefix N] [--cache N]
#               [--bleach BYTES] [--startup RUNS] [--samples] [--no-pin]
# Exits non-zero when a case could not run or left its work undone.
set -euo pipefail
here=$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")
top=$(dirname -- "$here")

if [[ $# -lt 2 ]]; then
    sed -n '2,7s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2
    exit 2
fi
# Every Wine call is a round trip to the wineserver. When the scheduler puts
# the two on different CPUs of a virtual machine, each wake-up costs tens of
# microseconds more, at random: on one CPU the times repeat (--no-pin: off).
if [[ -z ${VW_BENCH_PINNED:-} && " $* " != *" --no-pin "* ]] && command -v taskset >/dev/null; then
    VW_BENCH_PINNED=$(($(nproc) - 1)) exec taskset -c "$(($(nproc) - 1))" "$0" "$@"
fi
# The wash window needs a display.
if [[ -z ${VW_IN_XVFB:-} ]]; then
    VW_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

sandbox=$(readlink -m -- "$1")
bin=$(readlink -f -- "$2")
shift 2

temp=20000 temp_small=2000 tree=10000 prefix=5000 cache=5000
bleach=$((256 * 1024 * 1024)) startup=11 reps= samples=
while [[ $# -gt 0 ]]; do
    case $1 in
        --smoke) temp=200 temp_small=20 tree=16 prefix=20 cache=20 bleach=$((1024 * 1024))
                 startup=2 reps=1; shift ;;
        --reps) reps=$2; shift 2 ;;
        --temp) temp=$2; shift 2 ;;
        --temp-small) temp_small=$2; shift 2 ;;
        --tree) tree=$2; shift 2 ;;
        --prefix) prefix=$2; shift 2 ;;
        --cache) cache=$2; shift 2 ;;
        --bleach) bleach=$2; shift 2 ;;
        --startup) startup=$2; shift 2 ;;
        --samples) samples=--samples; shift ;;
        --no-pin) shift ;;
        *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
    esac
done

for exe in vantrix_bench.exe vantrix_bench_startup.exe vantrixwash.exe; do
    [[ -f $bin/$exe ]] || { echo "run.sh: $bin/$exe is missing" >&2; exit 1; }
done

"$top/tools/wine/sandbox.sh" init "$sandbox"
"$top/tools/wine/sandbox.sh" start "$sandbox"
trap '"$top/tools/wine/sandbox.sh" stop "$sandbox"' EXIT

out="$sandbox/results"
rm -rf "$out"
mkdir -p "$out"
failed=0

# One process per case, so each peak working set is that case's own. Wine's
# output goes to files: a pipe could be held open by Wine's services.
bench() {
    local label=$1 file
    shift
    file="$out/$label.txt"
    if ! "$top/tools/wine/wine-run.sh" "$sandbox" "$bin/vantrix_bench.exe" "$@" \
            ${reps:+--reps "$reps"} $samples </dev/null >"$file" 2>>"$out/stderr.log"; then
        failed=1
        echo "bench: $label FAILED (see $file and $out/stderr.log)" >>"$file"
    fi
    tr -d '\r' <"$file" | grep -v '^peak:' || true
}

field() {  # field <file> <line-prefix> <key>
    tr -d '\r' <"$1" | awk -v p="$2" -v k="$3" 'index($0, p) == 1 {
        for (i = 1; i <= NF; i++) if (index($i, k "=") == 1) print substr($i, length(k) + 2) }'
}

# Wine's calls are round trips to its server: a busy machine stretches them.
echo "bench: $(nproc --all) cores, Wine pinned to CPU ${VW_BENCH_PINNED:-none}," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
bench temp temp --n "$temp"
bench tree tree --n "$tree"
bench prefix prefix --n "$prefix"
bench prefix-walk prefix-walk --n "$prefix"
bench cache cache --n "$cache"
bench cache-walk cache-walk --n "$cache"
bench bleach bleach --n "$bleach"
bench temp-small temp --n "$temp_small"
# The preview of the Temp wash against that wash (ratio: preview / wash).
bench preview preview --n "$temp_small"

# Scaling: the same Temp layout at two sizes, each in its own process.
big=$out/temp.txt small=$out/temp-small.txt
wb=$(field "$big" "bench: temp" wash_ms) ws=$(field "$small" "bench: temp" wash_ms)
lb=$(field "$big" "bench: temp" limit_ms) ls=$(field "$small" "bench: temp" limit_ms)
pb=$(field "$big" "peak: temp" peak_working_set_kib)
ps=$(field "$small" "peak: temp" peak_working_set_kib)
if [[ -n $wb && -n $ws && -n $pb && -n $ps ]]; then
    awk -v a="$temp_small" -v b="$temp" -v wb="$wb" -v ws="$ws" -v lb="$lb" -v ls="$ls" \
        -v pb="$pb" -v ps="$ps" 'BEGIN {
        printf "bench: scaling n=%d,%d wash_ms=%s,%s limit_ms=%s,%s growth=%.2f limit_growth=%.2f (sizes x%.0f)\n",
            a, b, ws, wb, ls, lb, wb / ws, lb / ls, b / a
        printf "bench: scaling peak_working_set_kib=%d,%d growth_kib=%+d\n", ps, pb, pb - ps }'
else
    failed=1
    echo "bench: scaling FAILED: a Temp run printed no result"
fi

bench startup startup --n "$startup"

echo "bench: load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
echo "peak memory (PeakWorkingSetSize of each case's process):"
for label in temp tree prefix prefix-walk cache cache-walk bleach temp-small preview startup; do
    [[ -f $out/$label.txt ]] || continue
    tr -d '\r' <"$out/$label.txt" | awk '/^peak:/ {
        split($4, kv, "="); printf "  %-8s %-12s %8.1f MiB\n", $2, $3, kv[2] / 1024 }'
done

echo "targets:"
for target in temp=1.3 tree=1.5 prefix=1.5 prefix-walk=1.5 cache=1.3 cache-walk=1.3 bleach=1.2 startup=1.2; do
    name=${target%=*} limit=${target#*=}
    ratio=$(field "$out/$name.txt" "bench: $name n=" ratio)
    [[ -n $ratio ]] || { echo "  $name: no result"; continue; }
    awk -v n="$name" -v r="$ratio" -v l="$limit" \
        'BEGIN { printf "  %-8s ratio %.3f, target <= %.1f: %s\n", n, r, l, r <= l ? "met" : "MISSED" }'
done

exit "$failed"
