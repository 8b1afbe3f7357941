#!/usr/bin/env bash
# Runs every libFuzzer target in BINDIR for SECONDS each, starting from its seed corpus in
# CORPUS/<target>/ (read only: what the run finds is kept in a scratch folder). A crash, a
# sanitizer report, a leak or a timeout fails the run; the input that caused it is kept in
# BINDIR/artifacts/ and printed, to be turned into a regression test.
# usage: run.sh BINDIR CORPUS SECONDS
set -uo pipefail
bindir="$1" corpus="$2" seconds="${3:-60}"
artifacts="$bindir/artifacts"
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=()
for bin in "$bindir"/fuzz_*; do
    [ -x "$bin" ] || continue
    name=$(basename "$bin")
    mkdir -p "$scratch/$name"
    log="$bindir/$name.log"
    echo "== $name: ${seconds}s"
    if "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$name-" "$scratch/$name" "$corpus/$name" >"$log" 2>&1; then
        # The closing status line: executions, coverage (cov: edges, ft: features), speed.
        grep -E '^#[0-9]+[[:space:]]+(DONE|pulse)' "$log" | tail -1
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log"
    else
        failed+=("$name")
        tail -60 "$log"
        ls "$artifacts/$name-"* 2>/dev/null | sed 's/^/input kept: /'
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed: ${failed[*]}" >&2
    exit 1
fi
echo "fuzzing: every target ran ${seconds}s without a finding"
