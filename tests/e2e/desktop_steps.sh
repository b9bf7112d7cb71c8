# The end-to-end steps for the commands' keys and for dragging a file out, sourced by run_e2e.sh
# and using its helpers. desktop_steps expects the main window on C:\ with alfa.wav, beta.wav and
# gama.wav (in that order), and leaves the files as it found them.

readonly HELP_TITLE='Zvonkar pro Windows 95 .*'
readonly INPUT_BOX_TITLE='Zm.*na j.*na souboru'

# Presses keys on the main window after a click on its size display, which selects nothing but
# makes the window the active one.
press_on_main() {
    click_main 222 266
    xdotool sleep 0.2 key "$@"
}

# Renames the selected file through F2 and the input box to $1 (".wav" is added).
rename_by_key() {
    xdotool key F2
    wait_until "the input box" has_windows "$INPUT_BOX_TITLE" 1
    xdotool sleep 0.3 type --delay 50 "$1"
    xdotool key Return
    wait_until "the input box to close" has_windows "$INPUT_BOX_TITLE" 0
    wait_until "the file $1.wav" test -f "$work/c/$1.wav"
}

keyboard_shortcut_steps() {
    step "keys: F2 renames the selected file"
    select_file 2
    rename_by_key klavesy
    [ ! -e "$work/c/gama.wav" ] || fail "gama.wav is still there after F2"

    step "keys: after the rename no file is selected, and the file keys do nothing"
    press_on_main Delete F2 F5 ctrl+c
    sleep 1
    has_windows Confirm 0 && has_windows 'Save As' 0 && has_windows "$INPUT_BOX_TITLE" 0 ||
        fail "a file key acted with the file panel disabled"
    select_file 2
    rename_by_key gama

    step "keys: Esc stops the sound"
    local offset
    offset=$(audio_size)
    select_file 0
    expect_playing "$offset" "$LEVEL_ALFA" alfa.wav
    offset=$(audio_size)
    xdotool key Escape
    wait_until "silence after Esc" silent_since "$offset"

    step "keys: Delete asks, and Esc answers the question, keeping the file"
    select_file 0
    xdotool key Delete
    wait_until "the delete question" has_windows Confirm 1
    xdotool key Escape
    wait_until "the question to close" has_windows Confirm 0
    [ -f "$work/c/alfa.wav" ] || fail "Esc in the delete question deleted alfa.wav"

    step "keys: F5 and Ctrl+C open the save dialog"
    local key
    for key in F5 ctrl+c; do
        select_file 0
        xdotool key "$key"
        wait_until "the save dialog after $key" has_windows 'Save As' 1
        xdotool key Escape
        wait_until "the save dialog to close" has_windows 'Save As' 0
    done

    step "keys: F1 opens the help, Esc closes it"
    press_on_main F1
    wait_until "the help" has_windows "$HELP_TITLE" 1
    xdotool sleep 0.3 key Escape
    wait_until "the help to close" has_windows "$HELP_TITLE" 0

    step "keys: Alt+F4 and Ctrl+Q ask before quitting"
    for key in alt+F4 ctrl+q; do
        press_on_main "$key"
        wait_until "the quit question after $key" has_windows Confirm 1
        xdotool key n
        wait_until "the quit question to close" has_windows Confirm 0
        ! program_ended || fail "the program ended after $key and No"
    done
    check_no_error_box
}

drag_steps() {
    step "drag: a file dragged out plays as pressed, and the list works on after the drop"
    local offset
    offset=$(audio_size)
    xdotool mousemove $((MAIN_X + 172)) $((MAIN_Y + 13)) sleep 0.2 mousedown 1 sleep 0.1 \
        mousemove_relative 0 30 sleep 0.2 mousemove 20 20 sleep 0.3 mouseup 1
    expect_playing "$offset" "$LEVEL_ALFA" alfa.wav
    offset=$(audio_size)
    xdotool sleep 0.3 key Down
    expect_playing "$offset" "$LEVEL_BETA" beta.wav
}

desktop_steps() {
    keyboard_shortcut_steps
    drag_steps
}
