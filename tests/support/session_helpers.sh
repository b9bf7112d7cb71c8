# Shell helpers of the tests that drive the real program under a display server: waiting for
# what it shows, and the WAV files it plays. Sourced; the sourcing script defines fail.

# Polls a command until it succeeds, or fails after WAIT_SECONDS (20 unless set).
wait_until() {
    local what=$1
    shift
    local deadline=$((SECONDS + ${WAIT_SECONDS:-20}))
    until "$@"; do
        ((SECONDS < deadline)) || fail "timed out waiting for $what"
        sleep 0.1
    done
}

le16() { printf '%b' "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)) && le16 $((($1 >> 16) & 65535)); }

# Writes a mono 8-bit 8000 Hz WAV of $2 samples, every sample the octal byte $3, into file $1.
make_wav() {
    {
        printf 'RIFF' && le32 $((36 + $2)) && printf 'WAVEfmt '
        le32 16 && le16 1 && le16 1 && le32 8000 && le32 8000 && le16 1 && le16 8
        printf 'data' && le32 "$2"
        head -c "$2" /dev/zero | tr '\0' "$3"
    } > "$1"
}
