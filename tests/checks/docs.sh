#!/usr/bin/env bash
# The documents: the README's example and run command, the manual page.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# The README's example, built against the installed library as the README
# says, prints what the README shows.
check_readme_example() {
    need pkg-config
    export PKG_CONFIG_PATH="$installed/lib/pkgconfig"
    local flags
    words flags pkg-config --cflags --libs libzu
    readme_example "${flags[@]}"
    figure "README: the example printed the $(wc -l < example.out) lines it shows"
}

# groff -ww is silent on the manual page, and man renders it.
check_manual() {
    need groff man
    local manual="$ZU_SOURCE_DIR/docs/libzu.3"
    groff -man -ww -z "$manual" 2> groff.log
    [[ ! -s groff.log ]] || { cat groff.log; fail "groff -ww warns about docs/libzu.3"; }
    MANWIDTH=80 man -l "$manual" > man.txt
    grep -q '^SYNOPSIS' man.txt || fail "man renders no SYNOPSIS"
    figure "man page: groff silent, renders to $(wc -l < man.txt) lines"
}

# The Debian changelog's newest entry packages the version the header states.
check_debian_version() {
    local packaged stated
    packaged=$(sed -n '1s/^libzu (\([0-9]*:\)\{0,1\}\([^-)]*\).*/\2/p' "$ZU_SOURCE_DIR/packaging/debian/changelog")
    stated=$(libzu_version)
    [[ -n $stated && $packaged == "$stated" ]] ||
        fail "packaging/debian/changelog packages '$packaged', libzu/libzu.h states '$stated'"
    figure "version $stated in the header and the Debian changelog"
}

run_check "$@"
