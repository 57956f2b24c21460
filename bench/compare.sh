#!/usr/bin/env bash
# Builds the benchmarks with the default (g++) and clang presets, runs them
# ROUNDS times (3 unless set), alternating the two builds, and prints a
# Markdown table: for each row, the median over the rounds of the time of
# ours and of the ratio ours / platform, and the ratio's range. Arguments are
# passed on to the benchmark program (a --benchmark_filter, say). With PLOT set
# to a file name, bench/plot.sh also draws the chart of the same runs there.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${ROUNDS:-3}
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

for preset in default clang; do
    cmake --preset "$preset" > /dev/null
    cmake --build "build/$preset" --target zu_bench > /dev/null
done
for round in $(seq "$rounds"); do
    for preset in default clang; do
        echo "round $round of $rounds: $preset" >&2
        "build/$preset/bench/zu_bench" --benchmark_repetitions=10 \
            --benchmark_enable_random_interleaving=true --benchmark_min_time=0.1 \
            --benchmark_report_aggregates_only=true \
            --benchmark_out="$results/$preset.$round.json" --benchmark_out_format=json "$@" 2> /dev/null |
            grep '^ratio' > "$results/$preset.$round"
    done
done

# Lines read: "ratio <row> <ours ns> <platform ns> <ratio>".
table='
    FNR == 1 { compiler = FILENAME ~ /\/default\.[0-9]+$/ ? "gcc" : "clang" }
    {
        if (!($2 in seen)) { seen[$2] = 1; order[++rows] = $2 }
        time[compiler, $2] = time[compiler, $2] " " $3
        ratio[compiler, $2] = ratio[compiler, $2] " " $5
    }
    END {
        print "| row | g++ zu (ns) | g++ ratio | g++ range | clang zu (ns) | clang ratio | clang range |"
        print "|---|---:|---:|---:|---:|---:|---:|"
        for (r = 1; r <= rows; r++) {
            row = order[r]
            line = "| `" row "`"
            for (c = 1; c <= 2; c++) {
                compiler = c == 1 ? "gcc" : "clang"
                line = line sprintf(" | %.1f | %.2f | %.2f to %.2f", median(time[compiler, row]),
                                    median(ratio[compiler, row]), low(ratio[compiler, row]),
                                    high(ratio[compiler, row]))
            }
            print line " |"
        }
        print ""
        print "Medians over " rounds " rounds; ranges over the same rounds."
    }'
awk -v rounds="$rounds" -f bench/stats.awk -f <(printf '%s\n' "$table") \
    $(for round in $(seq "$rounds"); do echo "$results/default.$round" "$results/clang.$round"; done)

if [[ -n ${PLOT:-} ]]; then
    bench/plot.sh "$PLOT" $(for round in $(seq "$rounds"); do
        echo "g++=$results/default.$round.json" "clang=$results/clang.$round.json"
    done)
    echo "Chart: $PLOT" >&2
fi
