# shellcheck shell=bash
# What .ci/run, .ci/debian and .ci/in-root share. Each sets ZU_CI_WORK, its
# scratch directory, and may set run_as, the command the presets run under.
set -euo pipefail
run_as=()

# What a contributor needs beyond the README's apt-get line, on any Debian
# release: the other presets' tools. The release roots install these too,
# those the release has.
# shellcheck disable=SC2034
contributor_packages=(clang libclang-rt-dev libbenchmark-dev valgrind cppcheck clang-tidy clang-format
                      shellcheck gcovr gnuplot-nox python3 abigail-tools devscripts)
# The proofs' tools, in Debian 13 and later.
# shellcheck disable=SC2034
proof_packages=(cbmc z3)

# Seconds are counted from the start of the whole run.
: "${ZU_CI_STARTED:=$(date +%s)}"
export ZU_CI_STARTED
step() { printf '\n==== %s (%ds)\n' "$*" $(($(date +%s) - ZU_CI_STARTED)); }
figure() { printf 'FIGURE %s\n' "$*"; }
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# job COMMAND...: COMMAND in the background, waited for, so that a TERM is
# taken at once. Under monitor mode (.ci/run) it is a process group of its
# own, which the cleanup ends whole.
ci_jobs=()
job() {
    "$@" &
    ci_jobs+=("$!")
    wait "$!"
}

# logged LOG COMMAND...: COMMAND's output in LOG, its end shown if it fails.
logged() {
    local status=0
    job "${@:2}" > "$1" 2>&1 || status=$?
    ((status == 0)) || { tail -n 80 "$1"; fail "$(basename "$1"): exit status $status"; }
}

# workflow PRESET: cmake --workflow --preset PRESET, under run_as. Fails on
# a test skipped or not run, and on a workflow that shows nothing: no test
# passed, no program ran. Prints the figures its tests printed.
workflow() {
    local preset=$1 log="$ZU_CI_WORK/workflow.$1.log" build passed
    logged "$log" "${run_as[@]}" cmake --workflow --preset "$preset"
    if grep -q 'tests did not run' "$log"; then
        sed -n '/tests did not run/,/^$/p' "$log"
        fail "$preset: a test was skipped or did not run"
    fi
    passed=$(grep -E '^[0-9]+% tests passed' "$log" | tr '\n' ' ') || true
    [[ -n $passed ]] || passed=$(grep -c '^== .* ==$' "$log" | sed 's/^0$//; s/$/ programs ran/') || true
    [[ -n $passed ]] || { tail -n 40 "$log"; fail "$preset: no test passed, no program ran"; }
    figure "$preset: $passed"
    build=$(sed -n 's/^-- Build files have been written to: //p' "$log" | tail -n 1)
    [[ ! -f $build/Testing/Temporary/LastTest.log ]] ||
        sed -n -e "s/^FIGURE /FIGURE $preset: /p" -e "s/^\(injected allocation failures.*\)/FIGURE $preset: \1/p" \
            "$build/Testing/Temporary/LastTest.log"
}

# readme_apt_line: the README's one line that installs what its commands need.
readme_apt_line() { grep -m1 '^apt-get install ' "${ZU_SOURCE_DIR:-.}/README.md"; }
