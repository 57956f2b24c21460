#!/usr/bin/env bash
# Draws the chart of docs/benchmarks.md from zu_bench's JSON output
# (--benchmark_out=FILE --benchmark_out_format=json):
#
#   bench/plot.sh OUTPUT.svg LABEL=FILE.json [LABEL=FILE.json ...]
#
# One panel per operation: the ratio ours / platform against the input size,
# one line per LABEL (a compiler), and the 1.0 line. Files with the same label
# are rounds of one build: each point is the median of their ratios. Where a
# size has several rows (two cut lengths, say), the point is the worst.
# Needs python3 and gnuplot (Debian: gnuplot-nox).
set -euo pipefail
if (($# < 2)); then
    echo "usage: $0 OUTPUT.svg LABEL=FILE.json..." >&2
    exit 2
fi
output=$1
shift

python3 - "$output" "$@" <<'EOF' | gnuplot
import json
import statistics
import sys

output, runs = sys.argv[1], sys.argv[2:]

# Panel titles, in order, and the x value of a row: the bytes it works on,
# or for zu_putnbr_fd the characters it prints.
panels = {
    "strlen": "zu_strlen / strlen",
    "strdup": "zu_strdup / strdup",
    "substr": "zu_substr / strndup, cut at byte 8",
    "substr_middle": "zu_substr / strnlen + strndup, cut from the middle",
    "calloc": "zu_calloc / calloc",
    "lstnew": "zu_lstnew / malloc and two stores",
    "putstr_fd": "zu_putstr_fd / one-byte write loop",
    "putnbr_fd": "zu_putnbr_fd / one-byte write loop",
    "same_strlen": "calibration: strlen / strlen",
    "same_write": "calibration: write loop / write loop",
}
xlabels = {"putnbr_fd": "characters printed", "lstnew": "node size (bytes)"}


def x_of(operation, arguments):
    if operation == "lstnew":
        return 16
    if operation == "putnbr_fd":
        return len(arguments[0])
    return int(arguments[0].split(":")[-1])


def times_of(path):
    """run name -> real time: the median where there are repetitions."""
    with open(path) as file:
        benchmarks = json.load(file)["benchmarks"]
    times = {}
    for run in benchmarks:
        if run.get("error_occurred") or "error_message" in run:
            continue
        median = run.get("aggregate_name") == "median"
        if run["run_type"] == "aggregate" and not median:
            continue
        if median or run["run_name"] not in times:
            times[run["run_name"]] = run["real_time"]
    return times


# ratios[label][operation][x] = [one worst ratio per file]
ratios = {}
for labelled in runs:
    label, path = labelled.split("=", 1)
    times = times_of(path)
    worst = {}
    for name, ours in times.items():
        parts = name.split("/")
        if len(parts) < 2 or parts[1] != "zu" or parts[0] not in panels:
            continue
        platform = times.get("/".join([parts[0], "platform"] + parts[2:]))
        if platform is None:
            continue
        key = (parts[0], x_of(parts[0], parts[2:]))
        worst[key] = max(worst.get(key, 0.0), ours / platform)
    for (operation, x), ratio in worst.items():
        ratios.setdefault(label, {}).setdefault(operation, {}).setdefault(x, []).append(ratio)

labels = list(dict.fromkeys(labelled.split("=", 1)[0] for labelled in runs))
operations = [op for op in panels if any(op in ratios.get(label, {}) for label in labels)]
columns = 2
rows = (len(operations) + columns - 1) // columns

print(f'set terminal svg size 1000,{280 * rows} dynamic noenhanced font "sans,11"')
print(f'set output "{output}"')
print("set key below horizontal")
print("set grid")
print("set logscale x 2")
print('set ylabel "ours / platform"')
# Autoscaled, but never so close that 1.0 is lost or noise looks large.
print("set yrange [*<0.9:1.1<*]")
print(f"set multiplot layout {rows},{columns}")
for operation in operations:
    print(f'set title "{panels[operation]}"')
    if operation in xlabels:
        print(f'set xlabel "{xlabels[operation]}"')
        print("set format x '%g'")
    else:
        print('set xlabel "input size (bytes)"')
        print("set format x '%.0b%BB'")
    plots = ['1 with lines dashtype 2 linecolor rgb "black" title "1.0"']
    blocks = []
    for number, label in enumerate(labels):
        points = sorted(ratios.get(label, {}).get(operation, {}).items())
        if not points:
            continue
        block = f"$data_{operation}_{number}"
        blocks.append(f"{block} << EOD")
        blocks.extend(f"{x} {statistics.median(values):.4f}" for x, values in points)
        blocks.append("EOD")
        plots.append(f'{block} using 1:2 with linespoints title "{label}"')
    print("\n".join(blocks))
    xs = sorted({x for label in labels for x in ratios.get(label, {}).get(operation, {})})
    low, high = (xs[0] / 2, xs[-1] * 2) if xs[0] != xs[-1] else (xs[0] / 2, xs[0] * 2)
    print(f"set xrange [{low}:{high}]")
    print("plot " + ", ".join(plots))
print("unset multiplot")
EOF
