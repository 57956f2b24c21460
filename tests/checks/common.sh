# shellcheck shell=sh
# What the checks (lib.sh) and the packages' autopkgtests (packaging/debian/
# tests/) share, in POSIX sh as the autopkgtests are. Both run from a source
# tree: ZU_SOURCE_DIR, or the current directory.

# readme_block LANG: the first block of the README fenced as LANG.
readme_block() {
    awk -v fence="\`\`\`$1" '$0 == fence { on = 1; next } on && /^```$/ { exit } on' \
        "${ZU_SOURCE_DIR:-.}/README.md"
}

# system_pkg_config PREFIX ROOT: libzu as pkg-config finds it installed under
# a system prefix (/usr, /usr/local), at ROOT ("" or a DESTDIR), is -lzu
# alone, that prefix, and an archive that is there. Says what it found.
system_pkg_config() {
    zu_flags=$(pkg-config --cflags --libs libzu | xargs)
    zu_prefix=$(pkg-config --variable=prefix libzu)
    zu_archive=$(pkg-config --variable=archive libzu)
    echo "pkg-config under $1: $zu_flags, prefix $zu_prefix, archive $zu_archive"
    [ "$zu_flags" = -lzu ] && [ "$zu_prefix" = "$1" ] && [ -f "$2$zu_archive" ]
}
