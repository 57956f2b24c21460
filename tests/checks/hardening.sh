#!/usr/bin/env bash
# The programs are built hardened in every optimising build type.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# hardened PROGRAM: hardening-check's report on PROGRAM, if it passes. CET is
# out of reach: Debian 12's start files carry no IBT/SHSTK mark.
hardened() {
    local report unprotected
    report=$(hardening-check --nocfprotection --verbose "$1") && { echo "$report"; return; }
    # The one false alarm: the library's poll, which the C library checks at
    # compile time, so that no fortified poll is ever called.
    unprotected=$(sed -n 's/^\tunprotected: //p' <<< "$report" | xargs)
    [[ $unprotected == poll ]] && hardening-check --nocfprotection --nofortify --quiet "$1" > /dev/null ||
        { echo "$report" >&2; fail "$1 is not hardened"; }
    sed 's/^\( Fortify Source functions:\).*/\1 poll only, checked at compile time/' <<< "$report"
}

# This build's programs, and those of the other optimising build types,
# built here without flags of their own.
check_programs() {
    need hardening-check
    programs_built
    local type program report built
    built=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$ZU_BUILD_DIR/CMakeCache.txt")
    for program in "${programs[@]}"; do
        report=$(hardened "$ZU_BUILD_DIR/bin/$program")
        figure "hardening-check $program: $(sed -n 's/^ \(Position Independent Executable\|Stack protected\|Fortify Source functions\|Read-only relocations\|Immediate binding\): /\1 /p' <<< "$report" | paste -sd ';' | sed 's/;/; /g')"
    done
    for type in Release RelWithDebInfo MinSizeRel; do
        [[ $type != "$built" ]] || continue
        configure "$type.log" -S "$ZU_SOURCE_DIR" -B "$type" -DCMAKE_BUILD_TYPE="$type" \
            -DZU_BUILD_TESTS=OFF -DZU_BUILD_BENCHMARKS=OFF -DZU_BUILD_FUZZERS=OFF
        quietly "$type.build.log" cmake --build "$type"
        for program in "${programs[@]}"; do hardened "$type/bin/$program" > /dev/null; done
    done
    figure "hardening-check: the ${#programs[@]} programs of Release, RelWithDebInfo and MinSizeRel builds hardened"
}

run_check "$@"
