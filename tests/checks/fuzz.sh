#!/usr/bin/env bash
# The string operations under libFuzzer.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# check_string_ops FUZZER: 30 s of fuzzing from the committed corpus, then
# the committed corpus and the new finds replayed.
check_string_ops() {
    local fuzzer=$1 corpus="$ZU_SOURCE_DIR/fuzz/corpus/string_ops"
    mkdir found
    "$fuzzer" -max_total_time=30 -print_final_stats=1 found "$corpus" > fuzz.log 2>&1 ||
        { tail -40 fuzz.log; fail "the fuzzer found a fault"; }
    figure "fuzz executions: $(sed -n 's/^stat::number_of_executed_units: *//p' fuzz.log)"
    figure "fuzz corpus: $(ls "$corpus" | wc -l) committed inputs, $(ls found | wc -l) found this run"
    "$fuzzer" -runs=0 "$corpus" found > replay.log 2>&1 || { tail -40 replay.log; fail "the replay"; }
    figure "fuzz replay: $(grep -o 'Done [0-9]* runs' replay.log)"
}

run_check "$@"
