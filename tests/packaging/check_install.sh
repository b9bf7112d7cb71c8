#!/bin/sh
# Installs the built program into a fresh prefix and checks what desktops and users rely on:
# the private folder with the executable and its files, the relative launcher link, the icon
# sizes, and a desktop entry and metainfo that their validators accept.
# Usage: check_install.sh BUILD_DIR
set -u

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: check_install.sh BUILD_DIR" >&2
    exit 2
fi
build=$1
id=cz.krumlak.Zvonkar
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# A prefix with a space checks that nothing on the way splits paths.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/zvonkar install.XXXXXX") || exit 1
prefix=$tmp/usr

# Installing rewrites the build tree's manifest, which the user needs to uninstall a real
# installation: keep it aside and put it back whatever happens.
build_manifest=$build/install_manifest.txt
saved_manifest=$tmp/install_manifest.saved
[ -f "$build_manifest" ] && cp -p "$build_manifest" "$saved_manifest"
restore() {
    if [ -f "$saved_manifest" ]; then
        cp -p "$saved_manifest" "$build_manifest"
    else
        rm -f "$build_manifest"
    fi
    rm -rf "$tmp"
}
trap restore EXIT
trap 'exit 1' INT TERM

if ! env -u DESTDIR cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log" >&2
    echo "FAIL: cmake --install failed (is the program built?)" >&2
    exit 1
fi
manifest=$tmp/install_manifest.txt
cp "$build_manifest" "$manifest" || exit 1

private=$prefix/lib/zvonkar
if [ ! -f "$private/zvonkar" ] || [ ! -x "$private/zvonkar" ]; then
    fail "no executable $private/zvonkar"
fi
for name in ticho.wav zvonkar.hlp; do
    [ -f "$private/$name" ] || fail "no $name beside the executable"
    [ -x "$private/$name" ] && fail "$name is installed executable"
done
file -b "$private/ticho.wav" | grep -q '^RIFF .* WAVE audio' || fail "ticho.wav is not a WAV file"

# The program finds its folder through the link's real target, so the link must resolve there
# from wherever the prefix is moved: it has to be relative.
link=$prefix/bin/zvonkar
if [ ! -L "$link" ]; then
    fail "$link is not a symbolic link"
else
    target=$(readlink "$link")
    [ "$target" = "../lib/zvonkar/zvonkar" ] || fail "launcher link points to '$target'"
    [ "$(readlink -f "$link")" = "$(readlink -f "$private/zvonkar")" ] ||
        fail "launcher link does not resolve to the executable"
fi

# Each PNG must really have the size of the theme folder it sits in.
for size in 16 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -f "$png" ]; then
        fail "no icon $png"
        continue
    fi
    file -b "$png" | grep -q "^PNG image data, $size x $size," ||
        fail "icon $png is not a $size x $size PNG: $(file -b "$png")"
done

desktop=$prefix/share/applications/$id.desktop
if [ ! -f "$desktop" ]; then
    fail "no desktop entry $desktop"
else
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    for line in 'Exec=zvonkar' "Icon=$id" 'Terminal=false' 'GenericName=Přehrávač zvuků' \
        'Categories=AudioVideo;Audio;Player;'; do
        grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
    done
fi

metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ ! -f "$metainfo" ]; then
    fail "no metainfo $metainfo"
else
    appstreamcli validate --no-net --pedantic --explain "$metainfo" ||
        fail "appstreamcli rejects $metainfo"
    grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch the installed desktop entry"
fi

# Every installed file is in the manifest, so that uninstalling removes it all.
find "$prefix" ! -type d | while IFS= read -r path; do
    grep -qxF "$path" "$manifest" || echo "$path"
done >"$tmp/unlisted"
[ -s "$tmp/unlisted" ] && fail "installed but not in the manifest: $(cat "$tmp/unlisted")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installation in $prefix is complete and valid"
