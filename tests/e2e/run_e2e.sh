#!/bin/bash
# Drives the built program in a private Xvfb with xdotool only, as a person would: plays files
# by mouse and keyboard, stops, copies, renames and deletes through the program's own dialogs,
# opens the help, quits, and starts again to see the folder of the first run.
# SDL's disk driver writes the played samples to a file; each test sound is a constant level,
# so the 32-bit float words in that file tell which sound was played.
#
# Usage: run_e2e.sh <zvonkar executable> <folder for failure screenshots and logs>
# Exit codes: 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool).

set -u

for tool in Xvfb xdotool; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

program=$1
report_dir=$2
program_dir=$(cd "$(dirname "$program")" && pwd)

readonly MAIN_TITLE='Zvonkar pro Windows 95'
# The title of the shipped help file, "Zvonkar pro Windows 95 – nápověda", as a pattern.
readonly HELP_TITLE='Zvonkar pro Windows 95 .*pov.*da'
readonly WAIT_SECONDS=20

# Float words of the test sounds: 8-bit samples 0xC0, 0x40 and 0x60 are +0.5, -0.5 and -0.25.
readonly LEVEL_ALFA=3f000000
readonly LEVEL_BETA=bf000000
readonly LEVEL_DELTA=be800000

work=$(mktemp -d /tmp/zvonkar-e2e.XXXXXX)
xvfb_pid=
program_pid=

card=

cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2> /dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
    wait 2> /dev/null
    [ -n "$card" ] && "$FUSERMOUNT" -u -z "$card" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "FAIL: $*"
    echo "Visible windows:"
    list_windows
    if command -v import > /dev/null; then
        import -window root "$report_dir/e2e-failure.png" 2> /dev/null &&
            echo "Screenshot: $report_dir/e2e-failure.png"
    fi
    if [ -f "$work/program.log" ]; then
        cp "$work/program.log" "$report_dir/e2e-program.log"
        echo "Program output:"
        cat "$work/program.log"
    fi
    exit 1
}

source "${BASH_SOURCE[0]%/*}/../support/session_helpers.sh"

step() { echo "--- $*"; }

list_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name '.' 2> /dev/null); do
        echo "  $id \"$(xdotool getwindowname "$id" 2> /dev/null)\""
    done
}

# Visible windows whose title is exactly $1 (a regular expression).
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2> /dev/null; }
count_windows() { windows_named "$1" | wc -l; }
has_windows() { (($(count_windows "$1") == $2)); }

# An error box of the program carries the program's title, like the main window.
check_no_error_box() {
    (($(count_windows "$MAIN_TITLE") <= 1)) || fail "an error box appeared"
}

# Sets X and Y to the screen position of window $1, W and H to its size.
window_geometry() {
    local line
    X='' Y='' W='' H=
    while read -r line; do
        case $line in
        Position:*) line=${line#Position: } && X=${line%%,*} && line=${line#*,} && Y=${line%% *} ;;
        Geometry:*) line=${line#Geometry: } && W=${line%x*} && H=${line#*x} ;;
        esac
    done < <(xdotool getwindowgeometry "$1")
    if [ -z "$X" ] || [ -z "$H" ]; then
        fail "no geometry for window $1"
    fi
}

# Clicks at a point of the main window's client area.
click_main() {
    xdotool mousemove $((MAIN_X + $1)) $((MAIN_Y + $2)) sleep 0.2 click 1
}

click_first_file() { click_main 172 13; }
click_delete() { click_main $((4 + 5 + 20)) $((288 + 5 + 20)); }
click_copy() { click_main $((4 + 50 + 20)) $((288 + 5 + 20)); }
click_rename() { click_main $((4 + 95 + 20)) $((288 + 5 + 20)); }
click_stop() { click_main $((152 + 5 + 20)) $((288 + 4 + 20)); }
click_help() { click_main $((152 + 50 + 20)) $((288 + 5 + 20)); }
click_quit() { click_main $((152 + 95 + 20)) $((288 + 6 + 20)); }

# Selects file number $1 (0-based) of the file list the way a user does: click the first
# entry, then arrow down. Every selection plays the file, which does no harm here.
select_file() {
    click_first_file
    local i
    for ((i = 0; i < $1; i++)); do
        xdotool sleep 0.15 key Down
    done
    sleep 0.3
}

# Audio written since byte offset $2 of the disk output $1 (from the start when the output
# was reopened and so truncated since), as one float word per line.
audio_words_since() {
    local size offset=$2
    size=$(stat -c %s "$1" 2> /dev/null || echo 0)
    ((size >= offset)) || offset=0
    tail -c +$((offset / 4 * 4 + 1)) "$1" 2> /dev/null | od -An -v -tx4 | tr -s ' ' '\n'
}

audio_size() { stat -c %s "$AUDIO" 2> /dev/null || echo 0; }

# True when at least 0.1 s of the level $2 was played since offset $1.
played_since() { (($(audio_words_since "$AUDIO" "$1" | grep -c "^$2\$") >= 800)); }

# True when more than 0.5 s was written since offset $1 and its last 0.25 s is silence.
silent_since() {
    local words
    words=$(audio_words_since "$AUDIO" "$1" | grep -v '^$')
    (($(wc -l <<< "$words") > 4000)) || return 1
    ! tail -n 2000 <<< "$words" | grep -qv '^00000000$'
}

expect_playing() {
    local offset=$1 level=$2 what=$3
    wait_until "$what to play" played_since "$offset" "$level"
    check_no_error_box
}

x_server_answers() { xdotool getmouselocation > /dev/null 2>&1; }

start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" \
        > "$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_until "Xvfb to start" test -s "$work/display"
    DISPLAY=:$(head -n 1 "$work/display")
    export DISPLAY
    wait_until "the X server to answer" x_server_answers
}

# Starts the program with the drive map and the disk output $1; sets MAIN_X and MAIN_Y.
# A Czech user's locale: Qt's own dialogs speak Czech, the program's texts stay as they are.
# No session bus, so no desktop portal: the save dialog is Qt's, inside this Xvfb.
start_program() {
    AUDIO=$1
    (cd "$work/c" && exec env -u LANGUAGE \
        LC_ALL=cs_CZ.UTF-8 DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" \
        ZVONKAR_DRIVES="${DRIVES:-C=$work/c;D=$work/d;P=$program_dir}" \
        XDG_CONFIG_HOME="$work/config" \
        SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$AUDIO" QT_QPA_PLATFORM=xcb \
        "$program" >> "$work/program.log" 2>&1) &
    program_pid=$!
    wait_until "the main window" has_windows "$MAIN_TITLE" 1
    window_geometry "$(windows_named "$MAIN_TITLE")"
    MAIN_X=$X MAIN_Y=$Y
    ((W == 296 && H == 343)) || fail "main window is ${W}x$H, not 296x343"
    # Let the lists finish reading before the first click.
    sleep 1
    check_no_error_box
}

program_ended() { ! kill -0 "$program_pid" 2> /dev/null; }

quit_program() {
    click_quit
    wait_until "the quit question" has_windows Confirm 1
    xdotool key y
    wait_until "the about box" has_windows 'O programu' 1
    window_geometry "$(windows_named 'O programu')"
    # Its OK button is a speed button at (104, 247), 40 x 18, in a 247 x 269 client area.
    xdotool mousemove $((X + W * 124 / 247)) $((Y + H * 256 / 269)) sleep 0.2 click 1
    wait_until "the program to end" program_ended
    wait "$program_pid"
    local status=$?
    program_pid=
    ((status == 0)) || fail "the program ended with status $status"
}

# --- the commands' keys and dragging a file out: their steps live in their own file ---
# shellcheck source=desktop_steps.sh
source "${BASH_SOURCE[0]%/*}/desktop_steps.sh"
# shellcheck source=card_steps.sh
source "${BASH_SOURCE[0]%/*}/card_steps.sh"

mkdir -p "$work/c/zvuky" "$work/d" "$work/config"
make_wav "$work/c/alfa.wav" 40000 '\300'
make_wav "$work/c/beta.wav" 40000 '\100'
make_wav "$work/c/gama.wav" 8000 '\240'
make_wav "$work/c/zvuky/delta.wav" 40000 '\140'

start_xvfb
start_program "$work/audio1.raw"

step "a click on a file plays it"
offset=$(audio_size)
click_first_file
expect_playing "$offset" "$LEVEL_ALFA" alfa.wav

step "Down plays the next file"
offset=$(audio_size)
xdotool key Down
expect_playing "$offset" "$LEVEL_BETA" beta.wav

step "stop silences it at once"
offset=$(audio_size)
click_stop
wait_until "silence after stop" silent_since "$offset"
# beta.wav had more than four seconds to go: silence that only came when it ended by itself
# leaves seconds of it after the click, a working stop a fraction of one.
leftover=$(audio_words_since "$AUDIO" "$offset" | grep -c "^$LEVEL_BETA\$")
((leftover < 8000)) || fail "beta.wav went on for $leftover samples after the stop button"
check_no_error_box

step "copy through the save dialog"
select_file 1
click_copy
wait_until "the save dialog in Czech" has_windows 'Ulo.*it jako' 1
xdotool sleep 0.3 key ctrl+a type --delay 50 kopie.wav
xdotool key Return
wait_until "the create prompt" has_windows 'Ulo.*it jako' 2
xdotool key a
wait_until "the save dialog to close" has_windows 'Ulo.*it jako' 0
wait_until "the copy" test -f "$work/c/kopie.wav"
cmp -s "$work/c/beta.wav" "$work/c/kopie.wav" || fail "kopie.wav differs from beta.wav"
check_no_error_box

step "rename through the input box"
select_file 3
click_rename
wait_until "the input box" has_windows 'Zm.*na j.*na souboru' 1
xdotool sleep 0.3 type --delay 50 novy
xdotool key Return
wait_until "the renamed file" test -f "$work/c/novy.wav"
[ ! -e "$work/c/kopie.wav" ] || fail "kopie.wav is still there after the rename"
cmp -s "$work/c/beta.wav" "$work/c/novy.wav" || fail "novy.wav differs from beta.wav"
check_no_error_box

step "delete with its confirmation"
select_file 3
click_delete
wait_until "the delete question" has_windows Confirm 1
xdotool key y
wait_until "the file to go" test ! -e "$work/c/novy.wav"
for name in alfa beta gama; do
    [ -f "$work/c/$name.wav" ] || fail "$name.wav vanished"
done
check_no_error_box

# --- the commands' keys and dragging a file out ---
desktop_steps

step "a double click opens a folder"
xdotool mousemove $((MAIN_X + 40)) $((MAIN_Y + 56)) sleep 0.2 click --repeat 2 --delay 80 1
sleep 0.5
offset=$(audio_size)
click_first_file
expect_playing "$offset" "$LEVEL_DELTA" zvuky/delta.wav

step "help opens the shipped help file"
click_help
wait_until "the help viewer" has_windows "$HELP_TITLE" 1
check_no_error_box
# Out of the way of the clicks that follow; it goes with the program.
xdotool windowunmap "$(windows_named "$HELP_TITLE")"

step "quit with its confirmation and the about box"
quit_program
grep -qF '"LastDir"="C:\\zvuky' "$work/config/zvonkar/user.reg" ||
    fail "user.reg holds no LastDir of C:\\zvuky: $(cat "$work/config/zvonkar/user.reg")"

step "the second start opens the folder of the first"
start_program "$work/audio2.raw"
offset=0
click_first_file
expect_playing "$offset" "$LEVEL_DELTA" zvuky/delta.wav
quit_program

card_steps

echo "PASS"
