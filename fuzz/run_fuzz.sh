#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a fuzz target for a bounded time on a scratch copy of its seeds. Any
# crash, hang, leak, sanitizer report or broken property fails the run and
# leaves the input in <scratch>/findings/.
#   run_fuzz.sh <target> <seed folder> <scratch folder> <seconds>
set -euo pipefail
rm -rf "$3" && mkdir -p "$3/corpus" "$3/findings" && cp "$2"/* "$3/corpus/"
status=0
"$1" -max_total_time="$4" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$3/findings/" "$3/corpus" >"$3/fuzz.log" 2>&1 || status=$?
echo "$(basename "$1"): $(sed -n 's/^stat::number_of_executed_units: *//p' "$3/fuzz.log") runs" \
    "in $4 s, corpus $(ls "$2" | wc -l) -> $(ls "$3/corpus" | wc -l)" | tee "$3/summary.txt"
((status == 0)) || tail -n 80 "$3/fuzz.log"
exit "$status"
