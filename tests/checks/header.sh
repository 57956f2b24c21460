#!/usr/bin/env bash
# The installed header, as C and C++ programs meet it.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# present COMPILER...: those of them installed here.
present() {
    local compiler
    for compiler; do
        if command -v "$compiler" > /dev/null; then echo "$compiler"; fi
    done
}

# known COMPILER LANGUAGE NAME...: the first of the names of one standard
# (its own, its draft's) that COMPILER accepts; none where it knows neither.
known() {
    local std
    for std in "${@:3}"; do
        if "$1" -std="$std" -x "$2" -fsyntax-only /dev/null 2> /dev/null; then echo "$std" && return; fi
    done
    return 1
}

# The installed header compiles alone, pedantic and warning-free, in every
# language standard that the compilers here offer.
check_alone() {
    local header="$installed/include/libzu/libzu.h" compiler language standards names std accepted=()
    for compiler in $(present gcc clang g++ clang++); do
        case $compiler in
            *++) language=c++ standards="c++98 c++11 c++14 c++17 c++20 c++23,c++2b c++26,c++2c" ;;
            *) language=c standards="c89 c99 c11 c17 c23,c2x" ;;
        esac
        names=
        for std in $standards; do
            std=$(known "$compiler" "$language" ${std//,/ }) || continue
            "$compiler" -std="$std" -pedantic -Wall -Wextra -Werror -fsyntax-only -I"$installed/include" \
                -x "$language" "$header" || fail "$compiler -std=$std rejects the header alone"
            names+=" $std"
        done
        accepted+=("$compiler$names")
    done
    figure "header: compiles alone with $(IFS=';'; echo "${accepted[*]}" | sed 's/;/; /g')"
}

# tests/consumer/misuse.cpp marks each line that must fail, and with which
# diagnostic: each compiler rejects exactly those lines, with the diagnostics
# it has.
check_misuse() {
    local source="$ZU_SOURCE_DIR/tests/consumer/misuse.cpp" compiler diagnostics expected found
    marked() { grep -n "// $1" "$source" | cut -d: -f1; }
    rejected() { grep -E "misuse\.cpp:[0-9]+:[0-9]+: error: .*$1" "$2" | cut -d: -f2 || true; }
    for compiler in $(present g++ clang++); do
        diagnostics=(unused-result)
        [[ $compiler == g++ ]] && diagnostics+=(mismatched-new-delete)
        if "$compiler" -std=c++17 -Wall "${diagnostics[@]/#/-Werror=}" -I"$installed/include" \
                -c "$source" -o misuse.o 2> "$compiler.log"; then
            fail "$compiler built tests/consumer/misuse.cpp"
        fi
        expected=$(for d in "${diagnostics[@]}"; do marked "$d"; done | sort -n | xargs)
        found=$(for d in "${diagnostics[@]}"; do rejected "$d" "$compiler.log"; done | sort -nu | xargs)
        [[ $found == "$expected" ]] ||
            { cat "$compiler.log"; fail "$compiler rejected lines $found, expected $expected"; }
        figure "$compiler rejects misuse.cpp on lines $found"
    done
}

run_check "$@"
