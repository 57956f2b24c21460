#!/usr/bin/env bash
# The shared library of this build: its dynamic section, its ABI, its users.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# SONAME libzu.so.1, the C library alone NEEDED, calls between the
# operations bound inside; and the API's three records agree: each operation
# the header declares is in cmake/libzu.map, and libzu.so exports exactly
# those, each at its version node.
check_elf() {
    local so=$1 dynamic soname needed exports declared mapped expected
    dynamic=$(readelf --dynamic --wide "$so")
    soname=$(sed -n 's/.*Library soname: \[\(.*\)\]/\1/p' <<< "$dynamic")
    needed=$(sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' <<< "$dynamic" | xargs)
    [[ $soname == libzu.so.1 && $needed == libc.so.6 ]] || fail "$so: SONAME $soname, NEEDED $needed"
    declared=$(declared_operations | xargs)
    mapped=$(mapped_operations | xargs)
    [[ -n $mapped ]] || fail "cmake/libzu.map lists no operation"
    [[ $declared == "$(sed 's/@[^ ]*//g' <<< "$mapped")" ]] ||
        fail "the header declares $declared; cmake/libzu.map lists $mapped"
    expected=$( (tr ' ' '\n' <<< "$mapped" | sed 's/.*@//' | sort -u; tr ' ' '\n' <<< "$mapped" | sed 's/@/@@/') |
        sort | xargs)
    exports=$(nm --dynamic --defined-only "$so" | awk '{ print $3 }' | sort | xargs)
    [[ $exports == "$expected" ]] || fail "$so exports: $exports; cmake/libzu.map: $expected"
    if readelf --relocs --wide "$so" | grep ' zu_'; then
        fail "$so: calls between its operations go through the dynamic linker"
    fi
    figure "libzu.so: SONAME $soname; NEEDED $needed; exports $exports, as the header and cmake/libzu.map say"
}

# The ABI is the committed baseline's.
check_abi() {
    need abidiff
    abidiff "$ZU_SOURCE_DIR/abi/libzu.so.1.abi" "$1" > abidiff.log ||
        { cat abidiff.log; fail "the ABI differs from abi/libzu.so.1.abi"; }
    figure "libzu.so: abidiff against abi/libzu.so.1.abi: no difference"
}

# The build installed and moved: C through pkg-config (-lzu takes the shared
# library, the archive is linked by its path), C++ through libzu::shared; the
# development files alone give no libzu::shared; libzu_SharedLibrary is what
# programs need at run time and nothing else.
check_users() {
    need pkg-config
    local version
    install_moved "$ZU_BUILD_DIR"
    cmake --install "$ZU_BUILD_DIR" --prefix development --component libzu_Development > /dev/null
    cmake --install "$ZU_BUILD_DIR" --prefix runtime --component libzu_SharedLibrary > /dev/null
    [[ $(files runtime | xargs) == "lib/libzu.so.1 lib/libzu.so.1.0.0" ]] ||
        fail "libzu_SharedLibrary holds: $(files runtime | xargs)"
    version=$(pkg-config --modversion libzu)
    local c_flags=(-std=c99 -Wall -Wextra -Werror -DLIBZU_PKG_CONFIG_VERSION="\"$version\"")
    local linked compiled
    words linked pkg-config --cflags --libs libzu
    words compiled pkg-config --cflags libzu
    "$CC" "${c_flags[@]}" consumer.c "${linked[@]}" -o shared_c
    "$CC" "${c_flags[@]}" consumer.c "${compiled[@]}" "$(pkg-config --variable=archive libzu)" \
        -o static_c
    readelf --dynamic shared_c | grep -q 'Shared library: \[libzu.so.1\]' || fail "shared_c needs no libzu.so.1"
    if readelf --dynamic static_c | grep libzu; then fail "static_c needs libzu"; fi
    LD_LIBRARY_PATH="$moved/lib" ./shared_c
    ./static_c
    configure cmake.log -S . -B build -DCMAKE_PREFIX_PATH="$moved" -DLIBZU_TARGET=libzu::shared
    quietly build.log cmake --build build
    readelf --dynamic build/consumer | grep -q 'Shared library: \[libzu.so.1\]' ||
        fail "libzu::shared does not link libzu.so.1"
    ./build/consumer
    configure development.log -S . -B build-development -DCMAKE_PREFIX_PATH="$ZU_SCRATCH/development"
    if cmake -S . -B build-no-shared -G "$ZU_GENERATOR" -DCMAKE_PREFIX_PATH="$ZU_SCRATCH/development" \
            -DLIBZU_TARGET=libzu::shared > /dev/null 2>&1 && cmake --build build-no-shared > /dev/null 2>&1; then
        fail "libzu::shared without the shared library installed"
    fi
    figure "libzu.so users from a moved prefix: C through pkg-config (NEEDED libzu.so.1; the archive by its path: none), C++ through libzu::shared; the development files alone: no libzu::shared"
}

# The README's Python example, against the installed library.
check_python() {
    need python3
    cmake --install "$ZU_BUILD_DIR" --prefix installed > /dev/null
    readme_block python > example.py
    [[ $(LD_LIBRARY_PATH="$ZU_SCRATCH/installed/lib" python3 example.py) == World ]] ||
        fail "the README's Python example prints something else"
}

# Every unit test runs a second time against libzu.so, under its own name.
# The build's tests are listed from here, so that the listing leaves the
# build's own log of the run in progress alone.
check_unit_tests() {
    local unit_tests shared_tests
    unit_tests=$("$1" --gtest_list_tests | grep -c '^  ')
    echo "subdirs(\"$ZU_BUILD_DIR\")" > CTestTestfile.cmake
    shared_tests=$(ctest --test-dir . -N | grep -c ' libzu\.so:' || true)
    ((shared_tests == unit_tests + 1)) ||
        fail "$shared_tests tests against libzu.so registered, for $unit_tests unit tests and one of the exports"
    figure "libzu.so: $shared_tests tests against it registered, all $unit_tests unit tests and one of its exports"
}

run_check "$@"
