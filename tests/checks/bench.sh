#!/usr/bin/env bash
# The benchmarks still build and run, and the chart is drawn from them.
. "$(dirname "$0")/lib.sh"

# check_smoke BENCH: every pair at its smallest sizes, briefly, quiet about
# its flags whichever Google Benchmark it was built with; then the chart of
# docs/benchmarks.md from that run.
check_smoke() {
    need gnuplot python3
    "$1" --benchmark_min_time=0.001 --benchmark_color=false \
        --benchmark_filter='/(0|1|16)$|/size:256/|^lstnew/' \
        --benchmark_out=bench.json --benchmark_out_format=json 2> bench.err | grep '^ratio' > ratios
    if grep 'benchmark_min_time' bench.err; then fail "zu_bench is not quiet about its flags"; fi
    "$ZU_SOURCE_DIR/bench/plot.sh" chart.svg "$(basename "$ZU_BUILD_DIR")=bench.json"
    grep -q '</svg>' chart.svg || fail "bench/plot.sh drew no chart"
    figure "bench: $(wc -l < ratios) pairs ran with $(basename "$CXX"); bench/plot.sh drew their chart"
}

run_check "$@"
