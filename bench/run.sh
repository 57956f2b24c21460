#!/usr/bin/env bash
# Runs the benchmarks, ROUNDS rounds (3 unless set; later arguments go to zu_bench), and reports
# them from Google Benchmark's JSON: report computes every ratio, for the tables and chart alike.
#   bench/run.sh compare   default (g++) and clang presets: a table; PLOT=FILE.svg the chart too
#   bench/run.sh shared    the shared preset's string rows, libzu.so / libzu.a
#   bench/run.sh report table|shared|chart OUTPUT.svg LABEL=FILE.json...   (tables to stdout)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${ROUNDS:-3}
results=$(mktemp -d) && trap 'rm -rf "$results"' EXIT

report() {
    python3 - "$@" << 'EOF'
import json, sys
from statistics import median
kind, output, runs = sys.argv[1], sys.argv[2], [a.split("=", 1) for a in sys.argv[3:]]
def pairs(path):
    """Each pair of a run, in the order registered: row -> (ours ns, ours / platform)."""
    times, order = {}, {}  # the median where there are repetitions, else the one run
    for run in json.load(open(path))["benchmarks"]:
        if run.get("aggregate_name", "median") == "median" and "error_message" not in run:
            times[run["run_name"]] = run["real_time"]
            order[run["run_name"]] = (run["family_index"], run["per_family_instance_index"])
    ours = sorted((n for n in times if n.split("/")[1] == "zu"), key=order.get)
    return {n.replace("/zu", "", 1): (times[n], times[n] / times[n.replace("/zu", "/platform", 1)])
            for n in ours if n.replace("/zu", "/platform", 1) in times}

runs = [(label, pairs(path)) for label, path in runs]
labels = list(dict.fromkeys(label for label, _ in runs))
rows = list(dict.fromkeys(row for _, found in runs for row in found))
each = lambda label, row, i: [found[row][i] for l, found in runs if l == label and row in found]
if kind == "table":
    print("| row |" + "".join(f" {l} zu (ns) | {l} ratio | {l} range |" for l in labels) + "\n|---|" + "---:|" * 3 * len(labels))
    for row in rows:
        print(f"| `{row}` |" + "".join(
            f" {median(each(l, row, 0)):.1f} | {median(each(l, row, 1)):.2f} |"
            f" {min(each(l, row, 1)):.2f} to {max(each(l, row, 1)):.2f} |" for l in labels))
    print(f"\nMedians over {len(runs) // len(labels)} rounds; ranges over the same rounds.")
elif kind == "shared":
    print("| row | static (ns) | shared (ns) | shared / static |\n|---|---:|---:|---:|")
    for row in rows:  # the ratio of the two programs' ratios, so that drift between their runs cancels
        print(f"| `{row}` | {median(each('static', row, 0)):.1f} | {median(each('shared', row, 0)):.1f} | "
              f"{median([s / a for a, s in zip(each('static', row, 1), each('shared', row, 1))]):.2f} |")
    print(f"\nMedians over {len(runs) // 2} rounds.")
else:  # One panel per operation: the ratio against the input size, the worst where a size has two rows.
    titles = {"strlen": "zu_strlen / strlen", "strdup": "zu_strdup / strdup", "substr":
              "zu_substr / strndup, cut at byte 8", "substr_middle": "zu_substr / strnlen + strndup, cut from the middle",
              "calloc": "zu_calloc / calloc", "lstnew": "zu_lstnew / malloc and two stores", "putstr_fd":
              "zu_putstr_fd / one-byte write loop", "putnbr_fd": "zu_putnbr_fd / one-byte write loop", "same_strlen":
              "calibration: strlen / strlen", "same_write": "calibration: write loop / write loop"}
    xlabels = {"putnbr_fd": "characters printed", "lstnew": "node size (bytes)"}
    x_of = lambda op, args: 16 if op == "lstnew" else len(args[0]) if op == "putnbr_fd" else int(args[0].split(":")[-1])
    points = {}  # (label, operation) -> x -> one worst ratio per run
    for label, found in runs:
        worst = {}
        for row, (_, ratio) in found.items():
            key = (row.split("/")[0], x_of(row.split("/")[0], row.split("/")[1:]))
            worst[key] = max(worst.get(key, 0), ratio)
        for (op, x), ratio in worst.items():
            points.setdefault((label, op), {}).setdefault(x, []).append(ratio)
    ops = [op for op in titles if any((l, op) in points for l in labels)]
    print(f'set terminal svg size 1000,{280 * ((len(ops) + 1) // 2)} dynamic noenhanced font "sans,11"\nset output '
          f'"{output}"\nset key below horizontal\nset grid\nset logscale x 2\nset ylabel "ours / platform"\n'
          f'set yrange [*<0.9:1.1<*]\nset multiplot layout {(len(ops) + 1) // 2},2')
    for op in ops:
        xs = sorted({x for l in labels for x in points.get((l, op), {})})
        print(f'set title "{titles[op]}"\nset xlabel "{xlabels.get(op, "input size (bytes)")}"\n'
              f"set format x '{'%g' if op in xlabels else '%.0b%BB'}'\nset xrange [{xs[0] / 2}:{xs[-1] * 2}]")
        plots = ['1 with lines dashtype 2 linecolor rgb "black" title "1.0"']
        for number, label in enumerate(l for l in labels if (l, op) in points):
            print(f"$data_{op}_{number} << EOD\n" + "".join(
                f"{x} {median(values):.4f}\n" for x, values in sorted(points[label, op].items())) + "EOD")
            plots.append(f'$data_{op}_{number} using 1:2 with linespoints title "{label}"')
        print("plot " + ", ".join(plots))
    print("unset multiplot")
EOF
}

# run NAME=PROGRAM... -- ARGS...: ROUNDS rounds of every PROGRAM in turn, into NAME.<round>.json.
run() {
    local programs=() round unit=s labelled
    while [[ $1 != -- ]]; do programs+=("$1") && shift; done
    "${programs[0]#*=}" --benchmark_min_time=1s --benchmark_list_tests > /dev/null 2>&1 || unit='' # 1.7 has no unit
    for round in $(seq "$rounds"); do
        for labelled in "${programs[@]}"; do
            "${labelled#*=}" --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true \
                --benchmark_min_time="0.1$unit" --benchmark_report_aggregates_only=true \
                --benchmark_out="$results/${labelled%%=*}.$round.json" --benchmark_out_format=json "${@:2}" > /dev/null
        done
    done
}
labelled() { for round in $(seq "$rounds"); do for label; do echo "$label=$results/$label.$round.json"; done; done; }

case ${1:-} in
    compare)
        for preset in default clang; do cmake --preset "$preset" > /dev/null && cmake --build "build/$preset" --target zu_bench > /dev/null; done
        run g++=build/default/bench/zu_bench clang=build/clang/bench/zu_bench -- "${@:2}"
        mapfile -t runs < <(labelled g++ clang)
        report table "" "${runs[@]}"
        [[ -z ${PLOT:-} ]] || { report chart "$PLOT" "${runs[@]}" | gnuplot; echo "Chart: $PLOT" >&2; } ;;
    shared)
        cmake --preset shared > /dev/null && cmake --build build/shared --target zu_bench zu_bench_shared > /dev/null
        run static=build/shared/bench/zu_bench shared=build/shared/bench/zu_bench_shared -- \
            --benchmark_filter='^(strlen|strdup|substr|substr_middle)/' "${@:2}"
        mapfile -t runs < <(labelled static shared)
        report shared "" "${runs[@]}" ;;
    report) if [[ $2 == chart ]]; then report "${@:2}" | gnuplot; else report "${@:2}"; fi ;;
    *) sed -n '2,6s/^# \?//p' "$0" >&2; exit 2 ;;
esac
