#!/usr/bin/env bash
# libzu as other projects use it: installed and moved elsewhere, or built
# inside their own build.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# The installed prefix, moved: a C program through pkg-config and a C++ one
# through find_package, each checking the version its package reports.
check_moved_prefix() {
    need pkg-config
    install_moved "$recipe"
    local version flags
    version=$(pkg-config --modversion libzu)
    words flags pkg-config --cflags --libs libzu
    "$CC" -std=c99 -Wall -Wextra -Werror consumer.c "${flags[@]}" \
        -DLIBZU_PKG_CONFIG_VERSION="\"$version\"" -o consumer_c
    ./consumer_c
    configure cmake.log -S . -B build -DCMAKE_PREFIX_PATH="$moved"
    quietly build.log cmake --build build
    ./build/consumer
    figure "consumers: C and C++ built and passed against a moved prefix, version $version everywhere"
}

# A parent project that adds libzu with add_subdirectory and has a run target
# of its own: it gets the library and nothing else, no programs, tests or
# install rules of libzu's.
check_subproject() {
    local targets built tests installed
    # The CMake file API lists every target the configure made.
    mkdir -p parent/.cmake/api/v1/query
    touch parent/.cmake/api/v1/query/codemodel-v2
    configure parent.log -S "$ZU_SOURCE_DIR/tests/subproject" -B parent \
        -DLIBZU_SOURCE_DIR="$ZU_SOURCE_DIR" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
        -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON --no-warn-unused-cli
    targets=$(ls parent/.cmake/api/v1/reply | sed -n 's/^target-\(.*\)-[0-9a-f]\{20\}\.json$/\1/p' |
        sort | xargs)
    [[ $targets == "libzu parent_app run" ]] || fail "the parent's targets: $targets"
    quietly build.log cmake --build parent
    cmake --build parent --target run
    built=$(cd parent && find . -name CMakeFiles -prune -o -type f \( -name '*.a' -o -executable \) -print |
        sort | xargs)
    [[ $built == "./libzu/libzu/libzu.a ./parent_app" ]] || fail "the parent built: $built"
    tests=$(ctest --test-dir parent -N | sed -n 's/^Total Tests: //p')
    [[ $tests == 1 ]] || { ctest --test-dir parent -N; fail "the parent has $tests tests"; }
    quietly test.log ctest --test-dir parent --output-on-failure
    cmake --install parent --prefix parent-installed > /dev/null
    installed=$(files parent-installed | xargs)
    [[ $installed == bin/parent_app ]] || fail "the parent installed: $installed"
    figure "subproject: targets $targets; built $built; $tests test; installed $installed"
}

run_check "$@"
