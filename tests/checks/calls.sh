#!/usr/bin/env bash
# What the library calls outside itself.
. "$(dirname "$0")/lib.sh"

# The documented C library calls: a list of functions, not of symbol
# spellings. errno is read through __errno_location (Windows: _errno()), and
# Windows' C runtime writes with _write.
documented_calls="calloc errno fcntl malloc memcpy poll strlen strnlen write _write"

# check_archive NM ARCHIVE: what ARCHIVE calls outside itself, by function,
# is on the documented list; a call the compiler inlined is absent.
check_archive() {
    local nm=$1 archive=$2 symbol calls=() call
    for symbol in $("$nm" -u "$archive" | awk 'NF == 2 { print $2 }' | sort -u); do
        case $symbol in
            zu_*) ;;                                 # the library's own
            _GLOBAL_OFFSET_TABLE_ | .TOC.) ;;        # the linker's
            __stack_chk_fail | __stack_chk_guard) ;; # the stack protector's
            __aeabi_idivmod) calls+=("$symbol") ;;   # 32-bit ARM's division helper
            __errno_location | __imp__errno) calls+=(errno) ;;
            __imp_*) calls+=("${symbol#__imp_}") ;;  # a DLL's function, through its import
            fcntl64) calls+=(fcntl) ;;               # the large-file spelling
            __*_chk) calls+=("${symbol:2:-4}") ;;    # fortified: __memcpy_chk is memcpy
            *) calls+=("$symbol") ;;
        esac
    done
    for call in "${calls[@]}"; do
        [[ " $documented_calls __aeabi_idivmod " == *" $call "* ]] ||
            fail "libzu.a calls $call, which is not documented: $("$nm" -u "$archive" | xargs)"
    done
    figure "$(basename "$ZU_BUILD_DIR"): libzu.a calls $(printf '%s\n' "${calls[@]}" | sort -u | xargs)"
}

run_check "$@"
