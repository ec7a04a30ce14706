#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the build as scripts/package does and checks what a distribution asks of the package
# besides the programs: its control fields, the machine-readable copyright file, the changelog,
# manual pages that name every command and option of the programs' --help.
# Usage: test_package.sh BUILD_DIR MAINTAINER LINIENWERK LINIENWERK_CLI
set -euo pipefail
build_dir="$1"
maintainer="$2"
gui="$3"
cli="$4"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# CPack would first build the whole tree (its preinstall step), under the tests running from it;
# packing an installed copy builds nothing.
unset DESTDIR
cmake --install "$build_dir" --prefix "$work/stage/usr" --strip >/dev/null
cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/out" \
    -D CPACK_INSTALL_CMAKE_PROJECTS= -D "CPACK_INSTALLED_DIRECTORIES=$work/stage;." \
    >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
deb="$(echo "$work"/out/linienwerk_*.deb)"
dpkg-deb -x "$deb" "$work/root"
doc="$work/root/usr/share/doc/linienwerk"

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Maintainer)" == "$maintainer" ]] || fail "Maintainer is $(field Maintainer)"
(($(field Description | wc -l) > 5)) || fail "no extended description below the synopsis"
format="Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
[[ "$(head -n1 "$doc/copyright")" == "$format" ]] || fail "copyright is not machine-readable"
grep -qxF 'License: GPL-3+' "$doc/copyright" || fail "copyright lacks GPL-3+"

# Reproducible: gzip -n leaves the header's flags (no name) and time at 0.
for gz in "$doc/changelog.gz" "$work"/root/usr/share/man/man1/*.gz; do
    [[ "$(od -An -tu1 -j3 -N5 "$gz" | tr -s ' ')" == " 0 0 0 0 0" ]] ||
        fail "$gz has a name or time"
done
zcat "$doc/changelog.gz" >"$work/changelog"
[[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" == "$(field Version)" ]] ||
    fail "the changelog's newest entry is not the package's version"

# The options a program's --help names, in its usage lines and at the head of a line.
help_options() {
    QT_QPA_PLATFORM=offscreen "$1" --help |
        awk '/Aufruf:/,/^$/ { print; next } /^ *-/ { print $1 }' |
        grep -oE -- '(^|[[ |(])--?[a-z][a-z-]*' | sed 's/^[[ |(]//' | sort -u
}
# check_page PROGRAM: prints the page as read, after checking it as lintian reads it (a warning of
# groff is a fault, whatis must find its NAME line) and for every option --help names.
check_page() {
    local name page warnings text options option
    name="$(basename "$1")"
    page="$work/root/usr/share/man/man1/$name.1.gz"
    warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
    [[ -z "$warnings" ]] || fail "$page: $warnings"
    lexgrog "$page" | grep -qF "\"$name - " || fail "$page: no NAME line"
    text="$(MANWIDTH=200 man -l "$page")"
    options="$(help_options "$1")"
    [[ -n "$options" ]] || fail "no options in $name --help"
    for option in $options; do
        grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$text" || fail "$name(1) lacks $option"
    done
    echo "$text"
}
check_page "$gui" >/dev/null
cli_page="$(check_page "$cli")"
commands="$("$cli" --help | sed -n 's/^.*linienwerk-cli \([a-z][a-z]*\) .*$/\1/p' | sort -u)"
[[ -n "$commands" ]] || fail "no commands in linienwerk-cli --help"
for command in $commands; do
    grep -qF "linienwerk-cli $command " <<<"$cli_page" || fail "linienwerk-cli(1) lacks $command"
done
echo "package complete"
