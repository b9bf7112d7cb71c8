# The end-to-end step on a memory card: a real FAT image mounted through FUSE as drive C:, as a
# sampler leaves it, with a Czech long name. Sourced by run_e2e.sh and using its helpers; it
# skips, saying why, where the machine cannot mount the image.

readonly CZECH_NAME='Žluťoučký kůň.wav'
FUSERMOUNT=$(command -v fusermount3 || command -v fusermount || echo fusermount)

# Makes and mounts the card in $work/card; false, with the reason on stdout, when it cannot.
mount_card() {
    local tool PATH=$PATH:/usr/sbin:/sbin # mkfs.vfat's place
    for tool in mkfs.vfat mcopy fusefat "$FUSERMOUNT"; do
        command -v "$tool" > /dev/null || { echo "$tool is missing"; return 1; }
    done
    [ -r /dev/fuse ] && [ -w /dev/fuse ] || { echo "no usable /dev/fuse"; return 1; }
    truncate -s 64M "$work/card.img" && mkfs.vfat -n SAMPLER "$work/card.img" > /dev/null &&
        make_wav "$work/kick.wav" 40000 '\300' && make_wav "$work/czech.wav" 40000 '\100' &&
        MTOOLS_SKIP_CHECK=1 mcopy -i "$work/card.img" "$work/kick.wav" ::KICK.WAV &&
        MTOOLS_SKIP_CHECK=1 mcopy -i "$work/card.img" "$work/czech.wav" "::$CZECH_NAME" ||
        { echo "cannot make the FAT image"; return 1; }
    mkdir -p "$work/card"
    fusefat -s -o rw+ "$work/card.img" "$work/card" || { echo "fusefat cannot mount"; return 1; }
}

card_steps() {
    local why
    if ! why=$(mount_card); then
        echo "--- memory card skipped: $why"
        return 0
    fi
    card=$work/card

    step "memory card: a Czech long name plays, a rename in letter case only renames"
    # Opens where the card's files are: the card is C:, and the last folder is its root.
    sed -i 's/^"LastDir"=.*/"LastDir"="C:\\\\\\0"/' "$work/config/zvonkar/user.reg"
    DRIVES="C=$card;P=$program_dir" start_program "$work/audio3.raw"
    offset=$(audio_size)
    select_file 1
    expect_playing "$offset" "$LEVEL_BETA" "$CZECH_NAME"
    offset=$(audio_size)
    select_file 0
    expect_playing "$offset" "$LEVEL_ALFA" KICK.WAV
    xdotool key F2
    wait_until "the input box" has_windows "$INPUT_BOX_TITLE" 1
    xdotool sleep 0.3 type --delay 50 Kick
    xdotool key Return
    wait_until "KICK.WAV renamed to Kick.wav" eval 'ls "$card" | grep -qx Kick.wav'
    ls "$card" | grep -qx KICK.WAV && fail "the card holds KICK.WAV beside Kick.wav"
    cmp -s "$card/Kick.wav" "$work/kick.wav" || fail "Kick.wav lost its content in the rename"
    check_no_error_box
    quit_program
}
