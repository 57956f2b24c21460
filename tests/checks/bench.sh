#!/usr/bin/env bash
# The benchmarks still build and run, and are reported from their record.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# check_smoke BENCH: every pair at its smallest sizes, briefly (the least time
# per row spelt as Google Benchmark 1.8 and later take it, else as 1.7 does),
# quietly; then the table and the chart of docs/benchmarks.md from that run.
check_smoke() {
    need gnuplot python3
    local run=(--benchmark_color=false --benchmark_filter='/(0|1|16)$|/size:256/|^lstnew/'
               --benchmark_out=bench.json --benchmark_out_format=json)
    "$1" --benchmark_min_time=0.001s "${run[@]}" > bench.out 2> bench.err ||
        "$1" --benchmark_min_time=0.001 "${run[@]}" > bench.out 2> bench.err
    if grep 'benchmark_min_time' bench.err; then fail "zu_bench is not quiet about its flags"; fi
    local label run_sh="$ZU_SOURCE_DIR/bench/run.sh"
    label=$(basename "$CXX")
    "$run_sh" report table "" "$label=$PWD/bench.json" > table.md
    "$run_sh" report chart "$PWD/chart.svg" "$label=$PWD/bench.json"
    grep -q '</svg>' chart.svg || fail "bench/run.sh drew no chart"
    figure "bench: $(grep -c '^| `' table.md) pairs ran with $label; bench/run.sh reported them and drew their chart"
}

run_check "$@"
