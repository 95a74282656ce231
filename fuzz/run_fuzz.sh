#!/usr/bin/env bash
# Runs one fuzz target for a bounded time on a scratch copy of its seeds and
# says how many inputs it tried. Any crash, hang, leak, sanitizer report or
# broken property fails the run; the input is kept in <scratch>/findings/.
#   run_fuzz.sh <target> <seed folder> <scratch folder> <seconds>
set -euo pipefail
target=$1 seeds=$2 scratch=$3 seconds=$4

rm -rf "$scratch"
mkdir -p "$scratch/corpus" "$scratch/findings"
cp "$seeds"/* "$scratch/corpus/"

log=$scratch/fuzz.log
status=0
# -timeout: seconds one input may take before it counts as a hang.
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$scratch/findings/" "$scratch/corpus" >"$log" 2>&1 || status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "$(basename "$target"): ${runs:-?} executions in $seconds s," \
    "corpus grew from $(ls "$seeds" | wc -l) to $(ls "$scratch/corpus" | wc -l) inputs" |
    tee "$scratch/summary.txt"
if [[ $status -ne 0 ]]; then
    tail -n 80 "$log"
    echo "finding kept in $scratch/findings/"
fi
exit "$status"
