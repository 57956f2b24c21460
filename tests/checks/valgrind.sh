#!/usr/bin/env bash
# The programs under valgrind's memcheck.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# No error, every heap block freed.
check_programs() {
    programs_built
    need valgrind
    local program log
    for program in "${programs[@]}"; do
        log="$program.log"
        valgrind --leak-check=full --errors-for-leak-kinds=all --error-exitcode=1 --log-file="$log" \
            "$ZU_BUILD_DIR/bin/$program" > /dev/null || { cat "$log"; fail "valgrind: $program"; }
        grep -q 'All heap blocks were freed' "$log" && grep -q 'ERROR SUMMARY: 0 errors' "$log" ||
            { cat "$log"; fail "valgrind: $program"; }
        figure "valgrind $program: $(grep -o 'total heap usage: .*' "$log"); 0 errors; all heap blocks freed"
    done
}

run_check "$@"
