#!/bin/bash
# Packs the built program as the Debian package, checks what apt and lintian see in it, then
# unpacks it into a temporary root and starts the program from there, in a private Xvfb: the
# stop key must play the silent sound beside it (a missing one plays the default chime) and F1
# must open its help.
# Usage: check_deb.sh BUILD_DIR
# Exit codes: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps lintian Xvfb xdotool; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zvonkar-deb.XXXXXX") || exit 1
xvfb_pid='' program_pid=''
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2> /dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
    wait 2> /dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "FAIL: $*"
    [ -f "$tmp/program.log" ] && cat "$tmp/program.log"
    exit 1
}

source "${BASH_SOURCE[0]%/*}/../support/session_helpers.sh"

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" > "$tmp/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$tmp/cpack.log")"
deb=$(ls "$tmp"/out/zvonkar_*_amd64.deb 2> /dev/null)
[ -f "$deb" ] || fail "no zvonkar_<version>_amd64.deb: $(ls "$tmp/out")"

# Depends must name the libraries the program links (computed, so a new library is never
# forgotten), and Recommends the sound server and the portal.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6dbus6 libsndfile1 libpulse0 libsdl2-2.0-0 libsamplerate0 \
    libjpeg62-turbo fonts-dejavu-core; do
    grep -qE "(^|, )$package( |,|$)" <<< "$depends" || fail "Depends lacks $package: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
for alternative in 'pulseaudio | pipewire-pulse' xdg-desktop-portal; do
    grep -qF "$alternative" <<< "$recommends" || fail "Recommends lacks $alternative: $recommends"
done
[[ $(dpkg-deb -f "$deb" Maintainer) == *' <'*'@'*'>' ]] || fail "no maintainer address"

lintian --fail-on error "$deb" > "$tmp/lintian.log" 2>&1 ||
    fail "lintian reports errors: $(cat "$tmp/lintian.log")"

root=$tmp/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
[ -L "$root/usr/bin/zvonkar" ] || fail "no /usr/bin/zvonkar link"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$tmp/display" > /dev/null 2>&1 &
xvfb_pid=$!
wait_until "Xvfb" test -s "$tmp/display"
export DISPLAY=:$(head -n 1 "$tmp/display")
wait_until "the X server" xdotool getmouselocation

mkdir -p "$tmp/c" "$tmp/config"
audio=$tmp/audio.raw
# Started through its link, as the menu starts it: it must find its folder from there.
env -u LANGUAGE LC_ALL=C.UTF-8 DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/no-bus" \
    ZVONKAR_DRIVES="C=$tmp/c;P=$root/usr/lib/zvonkar" XDG_CONFIG_HOME="$tmp/config" \
    XDG_DATA_DIRS="$tmp/no-data" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" \
    QT_QPA_PLATFORM=xcb "$root/usr/bin/zvonkar" > "$tmp/program.log" 2>&1 &
program_pid=$!

windows_named() { xdotool search --onlyvisible --name "^$1\$" 2> /dev/null; }
has_window() { [ -n "$(windows_named "$1")" ]; }
wait_until "the main window" has_window 'Zvonkar pro Windows 95'
xdotool sleep 1 windowactivate --sync "$(windows_named 'Zvonkar pro Windows 95')" sleep 0.3

# A second of sound (8000 float words) written, every word of it silence.
played_silence() {
    local words
    words=$(od -An -v -tx4 "$audio" 2> /dev/null | tr -s ' ' '\n' | grep -v '^$')
    (($(wc -l <<< "$words") > 8000)) || return 1
    ! grep -qv '^00000000$' <<< "$words" || fail "the stop key played a sound, not ticho.wav"
}
xdotool key Escape
wait_until "the silent sound" played_silence

xdotool key F1
wait_until "the help viewer" has_window 'Zvonkar pro Windows 95 – nápověda'
echo "PASS: $(basename "$deb") installs and its program finds its files"
