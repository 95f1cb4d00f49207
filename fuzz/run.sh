#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build for a bounded time on a copy of its seed corpus and fails
# on any finding (a crash, a sanitizer report, a violated property or a leak). Prints the number of
# executions of each target. A single input running longer than 30 s counts as a finding (a hang).
# The input of a finding is kept under build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/fuzz
seconds=${ORV_FUZZ_SECONDS:-60}
findings=$build/findings
mkdir -p "$findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
found=0
for exe in "$build"/fuzz/fuzz_*; do
    [ -x "$exe" ] || continue
    found=$((found + 1))
    name=$(basename "$exe")
    mkdir -p "$work/$name"
    if [ -d "fuzz/corpus/$name" ]; then
        cp -r "fuzz/corpus/$name/." "$work/$name/"
    fi
    log="$work/$name.log"
    if "$exe" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$findings/$name-" "$work/$name" >"$log" 2>&1; then
        runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
        echo "$name: ${runs:-?} executions, no finding"
    else
        echo "$name: FINDING"
        tail -n 60 "$log"
        status=1
    fi
done
if [ "$found" -eq 0 ]; then
    echo "no fuzz targets in $build/fuzz: build the fuzz preset first"
    exit 1
fi
exit $status
