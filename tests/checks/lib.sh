# shellcheck shell=bash
# What the checks share. A check is a function check_<name> of a script
# tests/checks/<label>.sh, which ends with run_check "$@"; CTest runs it as
# `bash <label>.sh <name> ARGS...` with this environment (cmake/ZuChecks.cmake):
#   ZU_SOURCE_DIR, ZU_BUILD_DIR  the tree and the build being checked
#   ZU_CHECKS_DIR                where the checks lie, the fixtures among them
#   ZU_SCRATCH                   this check's own directory, emptied first
#   ZU_PROGRAMS                  the build's runner programs, as it names them
#   CC, CXX, ZU_GENERATOR        the build's compilers and generator
#   LC_ALL=C                     what the tools print is read
set -euo pipefail
# shellcheck source=common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

read -ra programs <<< "${ZU_PROGRAMS:-}"
# The fixture `installed`: the README's install recipe, built, and its plain
# install (install.recipe). Read by the scripts that source this one.
# shellcheck disable=SC2034
recipe="$ZU_CHECKS_DIR/install.recipe/build"
# shellcheck disable=SC2034
installed="$ZU_CHECKS_DIR/install.recipe/installed"

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# need TOOL...: skips the check, saying why, where a tool is missing.
need() {
    local tool
    for tool; do
        command -v "$tool" > /dev/null || { echo "skipped: $tool is not installed"; exit 77; }
    done
}

# words ARRAY COMMAND...: what COMMAND prints, split into words, in ARRAY
# (compiler flags from pkg-config).
# shellcheck disable=SC2034 # into is the caller's array
words() {
    local -n into=$1
    read -ra into <<< "$("${@:2}")"
}

# A figure this check measured; CI collects these lines from ctest's log.
figure() { echo "FIGURE $*"; }

# quietly LOG COMMAND...: COMMAND's output into LOG, shown if it fails.
quietly() {
    local log=$1
    shift
    "$@" > "$log" 2>&1 || { tail -40 "$log"; fail "$*"; }
}

# configure LOG ARGS...: cmake ARGS with the build's generator and compilers,
# quietly; a probe that says "Failed" fails it too.
configure() {
    local log=$1
    shift
    quietly "$log" cmake -G "$ZU_GENERATOR" -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" "$@"
    if grep -i 'failed' "$log"; then fail "configure is not quiet: cmake $*"; fi
}

# readme_example FLAGS...: the README's example built with FLAGS prints what
# the README shows.
readme_example() {
    readme_block c > example.c
    readme_block text > example.expected
    [[ -s example.c && -s example.expected ]] || fail "README.md shows no C example or no output"
    "$CC" -std=c99 -Wall -Wextra -Wpedantic -Werror example.c "$@" -o example
    ./example > example.out
    diff example.expected example.out || fail "the README's example prints something else"
}

# install_moved BUILD: BUILD installed, then moved to ./moved, beside the
# consumers' sources, with pkg-config reading it.
moved="$ZU_SCRATCH/moved"
install_moved() {
    cmake --install "$1" --prefix to-move > /dev/null
    mv to-move "$moved"
    cp "$ZU_SOURCE_DIR"/tests/consumer/* .
    export PKG_CONFIG_PATH="$moved/lib/pkgconfig"
}

# The version the header states.
libzu_version() {
    sed -n 's/^#define LIBZU_VERSION "\(.*\)"$/\1/p' "$ZU_SOURCE_DIR/libzu/libzu.h"
}

# files DIR: what lies under DIR, files and links, one relative path a line.
files() {
    (cd "$1" && find . ! -type d | sed 's|^\./||' | sort)
}

# The two records of the API: the operations the header declares, and those
# cmake/libzu.map exports, each with its version node (zu_strlen@LIBZU_1.0).
declared_operations() {
    sed -n 's/^[A-Za-z].*\<\(zu_[a-z_]*\)(.*/\1/p' "$ZU_SOURCE_DIR/libzu/libzu.h" | sort -u
}
mapped_operations() {
    awk '/^[A-Z0-9_.]+ *\{/ { node = $1 } /^ +zu_[a-z_]+;$/ { sub(/;/, "", $1); print $1 "@" node }' \
        "$ZU_SOURCE_DIR/cmake/libzu.map" | sort
}

# programs_built: the build names its programs (a check of them checks some).
programs_built() {
    ((${#programs[@]} > 0)) || fail "the build names no programs (ZU_PROGRAMS is empty)"
}

# run_check NAME ARGS...: check_NAME ARGS..., in its own emptied directory.
run_check() {
    declare -F "check_$1" > /dev/null || fail "no check $1 in $0"
    rm -rf "$ZU_SCRATCH"
    mkdir -p "$ZU_SCRATCH"
    cd "$ZU_SCRATCH"
    "check_$1" "${@:2}"
}
