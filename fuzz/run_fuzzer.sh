#!/usr/bin/env bash
# Runs one fuzzer for a bounded time from a working copy of its seed corpus, then
# prints how many inputs it ran and how large the corpus grew.
# Usage: run_fuzzer.sh FUZZER SEED_DIR WORK_DIR SECONDS [fresh]
# With "fresh" the working copy starts again from the seeds; otherwise it keeps
# what earlier runs found. The seed directory is only ever read.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4 mode=${5:-keep}

[ "$mode" = fresh ] && rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
for seed in "$seeds"/*; do
    [ -e "$work/corpus/${seed##*/}" ] || cp "$seed" "$work/corpus/"
done
log=$work/fuzz.log

status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$work/corpus" >"$log" 2>&1 || status=$?

# A run that stops early may print neither figure.
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1 || true)
corpus=$({ grep -o 'corp: [0-9]*/[0-9a-zA-Z]*' "$log" || true; } | tail -n 1 | cut -d' ' -f2)
printf '%-22s %10s executions   corpus %s (inputs/bytes)   %s files in %s\n' \
    "$(basename "$fuzzer")" "${executions:-?}" "${corpus:-?}" "$(ls "$work/corpus" | wc -l)" "$work/corpus"
if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$(basename "$fuzzer") failed (exit $status); inputs in $work/artifacts/" >&2
fi
exit "$status"
