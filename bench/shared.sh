#!/usr/bin/env bash
# The string operations from libzu.so against the same from libzu.a: builds
# the shared preset and runs its zu_bench (linked with the archive) and
# zu_bench_shared (linked with libzu.so) in turn, ROUNDS times (3 unless
# set), and prints a Markdown table: per row, the median time of ours from
# each and the median of their ratio, shared / static. That ratio is taken
# between the two programs' ratios ours / platform, so that the machine's
# drift from one run to the next cancels. Arguments are passed on to the
# benchmark programs.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${ROUNDS:-3}
export LC_ALL=C # the order sort gives is the order join needs
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

cmake --preset shared > /dev/null
cmake --build build/shared --target zu_bench zu_bench_shared > /dev/null
for round in $(seq "$rounds"); do
    for program in zu_bench zu_bench_shared; do
        echo "round $round of $rounds: $program" >&2
        "build/shared/bench/$program" --benchmark_repetitions=10 \
            --benchmark_enable_random_interleaving=true --benchmark_min_time=0.1 \
            --benchmark_report_aggregates_only=true \
            --benchmark_filter='^(strlen|strdup|substr|substr_middle)/' "$@" 2> /dev/null |
            grep '^ratio' > "$results/$program.$round"
    done
done

# Lines read: "ratio <row> <ours ns> <platform ns> <ratio>", joined by row:
# "<row> <static ns> <static ratio> <shared ns> <shared ratio>".
table='
    {
        if (!($1 in seen)) { seen[$1] = 1; order[++rows] = $1 }
        static_ns[$1] = static_ns[$1] " " $2
        shared_ns[$1] = shared_ns[$1] " " $4
        ratio[$1] = ratio[$1] " " $5 / $3
    }
    END {
        print "| row | static (ns) | shared (ns) | shared / static |"
        print "|---|---:|---:|---:|"
        for (r = 1; r <= rows; r++)
            printf "| `%s` | %.1f | %.1f | %.2f |\n", order[r], median(static_ns[order[r]]),
                   median(shared_ns[order[r]]), median(ratio[order[r]])
        print ""
        print "Medians over " rounds " rounds."
    }'
for round in $(seq "$rounds"); do
    join <(sort "$results/zu_bench.$round" | awk '{ print $2, $3, $5 }') \
         <(sort "$results/zu_bench_shared.$round" | awk '{ print $2, $3, $5 }')
done | awk -v rounds="$rounds" -f bench/stats.awk -f <(printf '%s\n' "$table")
