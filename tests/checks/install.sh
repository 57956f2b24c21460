#!/usr/bin/env bash
# The install: what the README's recipe installs, what each component holds,
# the pkg-config file under system prefixes and others, and the configure
# steps that must work without GoogleTest.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# The README's recipe (tests off), with GoogleTest hidden: it configures,
# builds and installs. Its build and plain install are the fixture the other
# checks use.
check_recipe() {
    configure configure.log -S "$ZU_SOURCE_DIR" -B "$recipe" -DCMAKE_BUILD_TYPE=Release \
        -DZU_BUILD_TESTS=OFF -DZU_BUILD_BENCHMARKS=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
        --no-warn-unused-cli
    quietly build.log cmake --build "$recipe"
    quietly install.log cmake --install "$recipe" --prefix "$installed"
    figure "install: the README's recipe, GoogleTest hidden, installs $(grep -c 'Installing:' install.log) files"
}

# A plain install is the library alone, libzu_Development exactly; the
# programs are libzu_Runtime alone, off PATH.
check_components() {
    local libdir operation development=()
    libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$recipe/CMakeCache.txt")
    development=(include/libzu/libzu.h "$libdir/libzu.a" "$libdir/pkgconfig/libzu.pc"
                 "$libdir"/cmake/libzu/libzu{Config,ConfigVersion,Targets,Targets-release}.cmake
                 share/doc/libzu/LICENSE share/man/man3/libzu.3)
    for operation in $(declared_operations); do development+=("share/man/man3/$operation.3"); done
    cmake --install "$recipe" --prefix development --component libzu_Development > /dev/null
    cmake --install "$recipe" --prefix runtime --component libzu_Runtime > /dev/null
    diff <(printf '%s\n' "${development[@]}" | sort) <(files "$installed") ||
        fail "a plain install is not the library alone"
    diff <(printf '%s\n' "${development[@]}" | sort) <(files development) ||
        fail "libzu_Development holds other files"
    diff <(printf 'libexec/libzu/%s\n' "${programs[@]}" | sort) <(files runtime) ||
        fail "libzu_Runtime holds other files"
    figure "install components: libzu_Development ${#development[@]} files, the plain install; libzu_Runtime the ${#programs[@]} programs in libexec/libzu"
}

# pkg-config, installed through DESTDIR with libdir lib/<multiarch>: under
# /usr and /usr/local, which compilers search anyway, -lzu alone and the
# stated prefix; elsewhere, even below /usr/local, the directories too, from
# where the file lies, enough to build the README's example.
check_pkg_config() {
    need pkg-config
    local libdir prefix staged flags archive
    libdir=lib/$("$CC" -print-multiarch)
    configure configure.log -S "$ZU_SOURCE_DIR" -B build -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_LIBDIR="$libdir" -DZU_BUILD_PROGRAMS=OFF -DZU_BUILD_TESTS=OFF \
        -DZU_BUILD_BENCHMARKS=OFF -DZU_BUILD_FUZZERS=OFF
    quietly build.log cmake --build build
    pc() { PKG_CONFIG_LIBDIR="$staged$prefix/$libdir/pkgconfig" PKG_CONFIG_PATH='' pkg-config "$@" libzu; }
    for prefix in /usr /usr/local /usr/local/opt/libzu; do
        staged="$ZU_SCRATCH/staged${prefix//\//_}"
        DESTDIR="$staged" cmake --install build --prefix "$prefix" > /dev/null
        if [[ $prefix == /usr/local/opt/libzu ]]; then
            words flags pc --cflags --libs
            archive=$(pc --variable=archive)
            [[ ${flags[*]} == -I*' '-L*' '-lzu ]] || fail "pkg-config under $prefix: ${flags[*]}"
            [[ -f $archive ]] || fail "pkg-config under $prefix: no archive at $archive"
            readme_example "${flags[@]}"
        else
            PKG_CONFIG_LIBDIR="$staged$prefix/$libdir/pkgconfig" PKG_CONFIG_PATH='' \
                system_pkg_config "$prefix" "$staged" > found || fail "$(cat found)"
        fi
    done
    figure "pkg-config, libdir $libdir: -lzu and prefix itself under /usr and /usr/local; -I and -L under /usr/local/opt/libzu, where the README's example builds"
}

# Tests on without GoogleTest, neither a package nor its sources: configure
# stops and names the three ways on.
check_no_googletest() {
    if cmake -S "$ZU_SOURCE_DIR" -B build -G "$ZU_GENERATOR" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
            -DZU_GOOGLETEST_SOURCE_DIR="$ZU_SCRATCH/nowhere" > configure.log 2>&1; then
        fail "configure passed without GoogleTest and with tests on"
    fi
    grep -q 'libgtest-dev' configure.log && grep -q 'ZU_GOOGLETEST_SOURCE_DIR' configure.log &&
        grep -q -- '-DZU_BUILD_TESTS=OFF' configure.log || { cat configure.log; fail "configure names not the three ways"; }
}

check_manual_version() {
    grep -q "\"libzu $(libzu_version)\"" "$installed/share/man/man3/libzu.3" ||
        fail "the installed manual does not name the version $(libzu_version)"
}

run_check "$@"
