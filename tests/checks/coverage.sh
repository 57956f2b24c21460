#!/usr/bin/env bash
# What the tests ran of the library, in a build instrumented for coverage,
# once every other test has run (the coverage workflow's last step).
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# Every line and every branch of libzu/.
check_libzu() {
    need gcovr
    gcovr --root "$ZU_SOURCE_DIR" --filter "$ZU_SOURCE_DIR/libzu/" --txt --print-summary \
        --fail-under-line 100 --fail-under-branch 100 "$ZU_BUILD_DIR/libzu" > coverage.txt ||
        { cat coverage.txt; fail "the tests leave lines or branches of libzu/ unrun"; }
    figure "coverage of libzu/: $(grep -E '^(lines|branches):' coverage.txt | tr '\n' ' ')"
}

run_check "$@"
