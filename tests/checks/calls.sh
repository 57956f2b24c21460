#!/usr/bin/env bash
# What the library calls outside itself.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# The documented calls, as the header lists them (every name written f() in
# its opening comment, and errno): functions, not symbol spellings. errno is
# read through __errno_location (Windows: _errno()).
header_calls() {
    local comment
    comment=$(sed -n '1,/^ \*\/$/p' "$ZU_SOURCE_DIR/libzu/libzu.h" | tr -s ' \n*' ' ')
    [[ $comment == *"C library functions it calls are"* ]] || return 0
    grep -oE '[_a-z0-9]+\(\)|errno' <<< "${comment#*C library functions it calls are}" | tr -d '()' |
        sort -u | xargs
}

# check_archive NM ARCHIVE: what ARCHIVE calls outside itself, by function,
# is on the documented list; a call the compiler inlined is absent.
check_archive() {
    local nm=$1 archive=$2 symbol calls=() call documented_calls
    documented_calls=$(header_calls)
    [[ -n $documented_calls ]] || fail "libzu/libzu.h lists no C library calls"
    for symbol in $("$nm" -u "$archive" | awk 'NF == 2 { print $2 }' | sort -u); do
        case $symbol in
            zu_*) ;;                                 # the library's own
            _GLOBAL_OFFSET_TABLE_ | .TOC.) ;;        # the linker's
            __stack_chk_fail | __stack_chk_guard) ;; # the stack protector's
            __errno_location | __imp__errno) calls+=(errno) ;;
            __imp_*) calls+=("${symbol#__imp_}") ;;  # a DLL's function, through its import
            fcntl64) calls+=(fcntl) ;;               # the large-file spelling
            __*_chk) calls+=("${symbol:2:-4}") ;;    # fortified: __memcpy_chk is memcpy
            *) calls+=("$symbol") ;;
        esac
    done
    for call in "${calls[@]}"; do
        [[ " $documented_calls " == *" $call "* ]] ||
            fail "libzu.a calls $call, which is not documented: $("$nm" -u "$archive" | xargs)"
    done
    figure "$(basename "$ZU_BUILD_DIR"): libzu.a calls $(printf '%s\n' "${calls[@]}" | sort -u | xargs)"
}

run_check "$@"
