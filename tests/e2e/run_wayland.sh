#!/bin/bash
# Runs the built program as a native Wayland client of weston, with no X server in its reach.
# First under weston's headless backend: the window must map with its title and draw, and a
# screenshot is kept. That backend has no seat, so no input reaches a client there; the keys
# are sent in a second run, under weston's X11 backend in a private Xvfb, whose keyboard is
# weston's own seat fed by the X server (xdotool types into weston's window, never into the
# program): a key plays a file, Esc stops it, Ctrl+Q quits through the question and the about
# box. SDL's disk driver proves what was played, as in run_e2e.sh.
#
# Usage: run_wayland.sh <zvonkar executable> <folder for screenshots and logs>
# Exit codes: 0 passed, 1 failed, 77 skipped (weston, Qt's Wayland plugin, Xvfb or xdotool missing).
set -u

for tool in weston weston-screenshooter weston-debug Xvfb xdotool; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
if ! dpkg-query -W -f='${Status}' qt6-wayland 2> /dev/null | grep -q 'install ok installed'; then
    echo "SKIP: Qt's Wayland plugin (qt6-wayland) is not installed"
    exit 77
fi

program=$(realpath "$1")
report_dir=$2
readonly MAIN_TITLE='Zvonkar pro Windows 95'
readonly LEVEL_ALFA=3f000000 LEVEL_BETA=bf000000

work=$(mktemp -d /tmp/zvonkar-wayland.XXXXXX)
export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=zvonkar-wayland
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston_pid='' xvfb_pid='' program_pid=''

stop_weston() {
    [ -n "$program_pid" ] && kill "$program_pid" 2> /dev/null
    [ -n "$weston_pid" ] && kill "$weston_pid" 2> /dev/null
    wait $program_pid $weston_pid 2> /dev/null
    program_pid='' weston_pid=''
}
cleanup() {
    stop_weston
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
    wait 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "FAIL: $*"
    [ -n "$weston_pid" ] && screenshot wayland-failure
    echo "Scene:" && scene | grep -E "top-level window|position" | grep -v "^$"
    for log in weston program; do
        [ -f "$work/$log.log" ] && echo "$log output:" && cat "$work/$log.log"
    done
    exit 1
}
source "${BASH_SOURCE[0]%/*}/../support/session_helpers.sh"

step() { echo "--- $*"; }

# weston's scene graph (its --debug stream) names each window and where weston put it.
scene() { timeout 5 weston-debug scene-graph 2> /dev/null; }
has_window() { scene | grep -qF "top-level window '$1'"; }
# Sets X, Y, W, H to the box of window $1 on the output, its decorations included.
window_box() {
    local line
    line=$(scene | grep -A1 -F "top-level window '$1'" | grep -m1 'position:')
    [[ $line =~ \(([0-9]+),\ ([0-9]+)\)\ -\>\ \(([0-9]+),\ ([0-9]+)\) ]] || fail "no box for $1"
    X=${BASH_REMATCH[1]} Y=${BASH_REMATCH[2]}
    W=$((BASH_REMATCH[3] - X)) H=$((BASH_REMATCH[4] - Y))
}

screenshot() {
    (cd "$work/shots" && rm -f wayland-screenshot-*.png && weston-screenshooter) > /dev/null 2>&1 &&
        mv "$work"/shots/wayland-screenshot-*.png "$report_dir/$1.png" 2> /dev/null &&
        echo "Screenshot: $report_dir/$1.png"
}

# Starts weston with backend $1 (and what else it needs in the environment).
start_weston() {
    weston --backend="$1" --use-pixman --width=800 --height=600 --socket=zvonkar-wayland \
        --idle-time=0 --debug > "$work/weston.log" 2>&1 &
    weston_pid=$!
    wait_until "weston to start" test -S "$XDG_RUNTIME_DIR/zvonkar-wayland"
}

# Starts the program on weston, with no X display to fall back on, playing into file $1.
start_program() {
    AUDIO=$1
    (cd "$work/c" && exec env -u DISPLAY -u LANGUAGE LC_ALL=C.UTF-8 \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" \
        ZVONKAR_DRIVES="C=$work/c" XDG_CONFIG_HOME="$work/config" \
        SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$AUDIO" \
        QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=zvonkar-wayland \
        "$program" >> "$work/program.log" 2>&1) &
    program_pid=$!
    wait_until "the main window" has_window "$MAIN_TITLE"
    sleep 1
}

audio_size() { stat -c %s "$AUDIO" 2> /dev/null || echo 0; }
words_since() { tail -c +$(($1 / 4 * 4 + 1)) "$AUDIO" 2> /dev/null | od -An -v -tx4 | tr -s ' ' '\n'; }
played_since() { (($(words_since "$1" | grep -c "^$2\$") >= 800)); }
silent_since() {
    local words
    words=$(words_since "$1" | grep -v '^$')
    (($(wc -l <<< "$words") > 4000)) && ! tail -n 2000 <<< "$words" | grep -qv '^00000000$'
}
program_ended() { ! kill -0 "$program_pid" 2> /dev/null; }

mkdir -p "$work/c" "$work/config" "$work/shots"
make_wav "$work/c/alfa.wav" 40000 '\300'
make_wav "$work/c/beta.wav" 40000 '\100'

step "headless weston: the window maps and draws"
start_weston headless-backend.so
start_program "$work/audio-headless.raw"
window_box "$MAIN_TITLE"
((W >= 296 && H >= 343)) || fail "the main window is ${W}x$H, smaller than 296x343"
screenshot wayland-headless || fail "weston-screenshooter saved no screenshot"
file -b "$report_dir/wayland-headless.png" | grep -q '^PNG image data, 800 x 600,' ||
    fail "the screenshot is not an 800 x 600 PNG"
stop_weston

step "weston in Xvfb: keys from weston's seat play, stop and quit"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" > /dev/null 2>&1 &
xvfb_pid=$!
wait_until "Xvfb to start" test -s "$work/display"
DISPLAY=:$(head -n 1 "$work/display") start_weston x11-backend.so
export DISPLAY=:$(head -n 1 "$work/display")
start_program "$work/audio.raw"
# The X server sends keys to the window under its pointer: weston's, over its panel.
xdotool mousemove 400 10

offset=$(audio_size)
xdotool key Down
wait_until "a key to play alfa.wav" played_since "$offset" "$LEVEL_ALFA"
offset=$(audio_size)
xdotool key Down
wait_until "the next key to play beta.wav" played_since "$offset" "$LEVEL_BETA"
offset=$(audio_size)
xdotool key Escape
wait_until "silence after Esc" silent_since "$offset"
screenshot wayland

xdotool key ctrl+q
wait_until "the quit question" has_window Confirm
xdotool key y
wait_until "the about box" has_window 'O programu'
# Its OK button is at (124, 256) of its 247 x 269 client area; Qt draws the frame as wide at
# the bottom as at the sides, the title bar above. weston takes the pointer's place from the X
# server only when it enters weston's window, so the pointer leaves it first. A busy machine
# can have weston move the box after it first shows, so its place is read again for a retry.
for attempt in 1 2 3; do
    sleep 0.5
    window_box 'O programu'
    border=$(((W - 247) / 2))
    xdotool mousemove 900 700 sleep 0.2 mousemove $((X + border + 124)) \
        $((Y + H - border - 269 + 256)) sleep 0.2 click 1
    for ((tick = 0; tick < 30; tick++)); do
        program_ended && break 2
        sleep 0.1
    done
done
wait_until "the program to end" program_ended
wait "$program_pid"
status=$?
program_pid=''
((status == 0)) || fail "the program ended with status $status"
echo "PASS"
