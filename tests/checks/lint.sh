#!/usr/bin/env bash
# Format, clang-tidy and cppcheck, over this build's compile commands; and
# every shell script of the tree through shellcheck.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

check_sources() {
    need clang-format clang-tidy cppcheck shellcheck
    local sources scripts
    cd "$ZU_SOURCE_DIR" || fail "no $ZU_SOURCE_DIR"
    mapfile -t sources < <(find libzu runners tests bench fuzz proofs -name '*.cpp' -o -name '*.h' -o -name '*.c' |
        sort)
    clang-format --dry-run -Werror "${sources[@]}"
    clang-tidy -p "$ZU_BUILD_DIR" --quiet libzu/*.cpp runners/*.cpp 2> "$ZU_SCRATCH/tidy.log" ||
        { cat "$ZU_SCRATCH/tidy.log"; fail "clang-tidy"; }
    cppcheck --enable=warning,style,performance,portability --std=c++17 --language=c++ -I . \
        --suppress=missingIncludeSystem --inline-suppr --error-exitcode=1 --quiet libzu runners
    mapfile -t scripts < <(find . -path ./build -prune -o -path ./.git -prune -o -type f -print | sort |
        while read -r file; do
            [[ $file == *.sh ]] || head -n 1 "$file" | grep -qE '^#!.*\<(ba|da)?sh\>' && echo "$file"
        done)
    ((${#scripts[@]} > 0)) || fail "no shell script found"
    shellcheck -S warning -x "${scripts[@]}" || fail "shellcheck"
    figure "lint: shellcheck $(shellcheck --version | sed -n 's/^version: //p') clean over ${#scripts[@]} shell scripts"
    figure "lint: clang-format $(clang-format --version | grep -o '[0-9][0-9.]*' | head -1), clang-tidy $(clang-tidy --version | grep -o 'version [0-9][0-9.]*' | cut -d' ' -f2) and cppcheck $(cppcheck --version | cut -d' ' -f2) clean over ${#sources[@]} sources"
}

run_check "$@"
