#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks the tree: every file in its place and
# nothing else, the desktop files valid and naming each other, the icons of their sizes, the file
# type readable by shared-mime-info. Usage: test_install.sh BUILD_DIR APP_ID
set -euo pipefail
build_dir="$1"
app_id="$2"

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

unset DESTDIR
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

# help/datafile.cpp looks for the data files in ../share/linienwerk from bin/.
expected="bin/linienwerk
bin/linienwerk-cli
share/applications/$app_id.desktop
share/doc/linienwerk/changelog.gz
share/doc/linienwerk/copyright
share/icons/hicolor/128x128/apps/$app_id.png
share/icons/hicolor/256x256/apps/$app_id.png
share/icons/hicolor/48x48/apps/$app_id.png
share/icons/hicolor/scalable/apps/$app_id.svg
share/linienwerk/LW20.hlp
share/linienwerk/about.txt
share/man/man1/linienwerk-cli.1.gz
share/man/man1/linienwerk.1.gz
share/metainfo/$app_id.metainfo.xml
share/mime/packages/$app_id.xml"
actual="$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
[[ "$actual" == "$expected" ]] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
[[ -x "$prefix/bin/linienwerk" && -x "$prefix/bin/linienwerk-cli" ]] || fail "programs not executable"

desktop="$prefix/share/applications/$app_id.desktop"
desktop-file-validate --no-hints "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate"
grep -qx 'Exec=linienwerk %f' "$desktop" || fail "Exec does not start the installed program"
grep -qx "Icon=$app_id" "$desktop" || fail "Icon is not the installed icon's name"
# The program names its windows after the desktop entry, so the desktop groups them under it.
grep -qx "StartupWMClass=$app_id" "$desktop" || fail "StartupWMClass is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
    "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "metainfo does not launch the desktop entry"

# Width and height stand big-endian at bytes 16 to 23 of a PNG.
for size in 48 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [[ "$width $height" == "$size $size" ]] || fail "$png is ${width}x${height}"
done

# The desktop's own database compiler must accept the file type and keep its globs and magic.
mime="$prefix/share/mime"
XDG_DATA_HOME="$prefix/share" update-mime-database "$mime" || fail "update-mime-database"
mime_types="$(sed -n 's|.*<mime-type type="\([^"]*\)".*|\1|p' "$mime/packages/$app_id.xml")"
[[ "$mime_types" == $'application/x-linienwerk-gph\napplication/x-linienwerk-arbeitsblatt' ]] ||
    fail "file types differ: $mime_types"
for mime_type in $mime_types; do
    grep -q "^MimeType=.*$mime_type;" "$desktop" || fail "the desktop entry does not open $mime_type"
done
# Globs match in any case, so the compiled list keeps *.GPH as *.gph.
for glob in '*.gph' '*.GPH' '*.lwa'; do
    grep -qF "<glob pattern=\"$glob\"/>" "$mime/packages/$app_id.xml" || fail "glob $glob missing"
done
grep -qF ":application/x-linienwerk-gph:*.gph" "$mime/globs2" || fail "glob *.gph not compiled"
grep -qF ":application/x-linienwerk-arbeitsblatt:*.lwa" "$mime/globs2" || fail "glob *.lwa not compiled"
grep -qaF 'DLinienwerk20==V2.00.00' "$mime/magic" || fail "magic missing"
# A worksheet is JSON: editors and viewers of JSON offer to open it too.
grep -qxF 'application/x-linienwerk-arbeitsblatt application/json' "$mime/subclasses" ||
    fail "worksheet not a kind of JSON"
echo "installed tree complete"
