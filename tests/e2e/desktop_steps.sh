# The end-to-end steps for the commands' keys and for dragging a file out, sourced by run_e2e.sh
# and using its helpers. desktop_steps expects the main window on C:\ with alfa.wav, beta.wav and
# gama.wav (in that order), and leaves the files as it found them.

readonly INPUT_BOX_TITLE='Zm.*na j.*na souboru'

# Renames the selected file through F2 and the input box to $1 (".wav" is added).
rename_by_key() {
    xdotool key F2
    wait_until "the input box" has_windows "$INPUT_BOX_TITLE" 1
    xdotool sleep 0.3 type --delay 50 "$1"
    xdotool key Return
    wait_until "the file $1.wav" test -f "$work/c/$1.wav"
}

desktop_steps() {
    step "keys: F2 renames; then no file is selected and the file keys do nothing"
    select_file 2
    rename_by_key klavesy
    click_main 222 266 # the size display: the window becomes active, nothing is selected
    xdotool sleep 0.2 key Delete F2 F5 ctrl+c sleep 1
    has_windows Confirm 0 && has_windows 'Ulo.*it jako' 0 && has_windows "$INPUT_BOX_TITLE" 0 ||
        fail "a file key acted with the file panel disabled"
    select_file 2
    rename_by_key gama

    step "keys: Esc stops the sound, well before its end"
    local offset key title answer started
    offset=$(audio_size)
    select_file 0
    expect_playing "$offset" "$LEVEL_ALFA" alfa.wav
    offset=$(audio_size) started=$SECONDS
    xdotool key Escape
    wait_until "silence after Esc" silent_since "$offset"
    ((SECONDS - started < 3)) || fail "the sound went on after Esc"

    step "keys: each command's window opens, and Esc or No in it leaves the rest alone"
    for key in Delete:Confirm:Escape F5:'Ulo.*it jako':Escape ctrl+c:'Ulo.*it jako':Escape \
        F1:'Zvonkar pro Windows 95 .*':Escape alt+F4:Confirm:n ctrl+q:Confirm:n; do
        IFS=: read -r key title answer <<< "$key"
        select_file 0
        xdotool key "$key"
        wait_until "$title after $key" has_windows "$title" 1
        xdotool sleep 0.3 key "$answer"
        wait_until "$title to close after $key" has_windows "$title" 0
    done
    [ -f "$work/c/alfa.wav" ] && ! program_ended || fail "a key's window did more than asked"
    check_no_error_box

    step "drag: a file dragged out plays as pressed, and the list works on after the drop"
    offset=$(audio_size)
    xdotool mousemove $((MAIN_X + 172)) $((MAIN_Y + 13)) sleep 0.2 mousedown 1 sleep 0.1 \
        mousemove_relative 0 30 sleep 0.2 mousemove 20 20 sleep 0.3 mouseup 1
    expect_playing "$offset" "$LEVEL_ALFA" alfa.wav
    offset=$(audio_size)
    xdotool sleep 0.3 key Down
    expect_playing "$offset" "$LEVEL_BETA" beta.wav
}
