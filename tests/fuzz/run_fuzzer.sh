#!/usr/bin/env bash
# Runs one libFuzzer target for FUZZ_SECONDS: first every committed seed and
# past finding, then new inputs. What it learns stays in the work folder,
# never in the committed corpus.
# Usage: run_fuzzer.sh <fuzzer> <tests/fuzz dir> <work dir>
set -euo pipefail
fuzzer=$1 src=$2 name=$(basename "$1")
work=$3/$name log=$3/$name/last-run.log seconds=${FUZZ_SECONDS:-${FUZZ_SECONDS_DEFAULT:-5}}
mkdir -p "$work/corpus" "$work/artifacts"
inputs=("$work/corpus" "$src/corpus/$name")
[ -d "$src/regressions/$name" ] && inputs+=("$src/regressions/$name")
[ -f "$src/$name.dict" ] && inputs+=(-dict="$src/$name.dict")
if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "${inputs[@]}" >"$log" 2>&1; then
    echo "$name: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") inputs in ${seconds}s, no finding"
else
    tail -n 60 "$log"
    echo "$name: FINDING, input kept in $work/artifacts/ (log: $log)"
    exit 1
fi
