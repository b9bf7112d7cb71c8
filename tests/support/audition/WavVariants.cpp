#include "tests/support/audition/WavVariants.h"

namespace audition {

std::span<const WavVariant> WavVariants() {
    static const WavVariant variants[] = {
        {"8-bit PCM, 8 kHz mono", "v_u8.wav", {8000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_U8}},
        {"16-bit PCM, 22.05 kHz stereo", "v_16.wav", {22050, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16}},
        {"24-bit PCM, 96 kHz stereo", "v_24.wav", {96000, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_24}},
        {"32-bit PCM, 44.1 kHz stereo", "v_32.wav", {44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_32}},
        {"32-bit float, 48 kHz mono", "v_f32.wav", {48000, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT}},
        {"64-bit float, 32 kHz stereo", "v_f64.wav", {32000, 2, SF_FORMAT_WAV | SF_FORMAT_DOUBLE}},
        {"A-law, 8 kHz mono", "v_alaw.wav", {8000, 1, SF_FORMAT_WAV | SF_FORMAT_ALAW}},
        {"mu-law, 8 kHz mono", "v_ulaw.wav", {8000, 1, SF_FORMAT_WAV | SF_FORMAT_ULAW}},
        {"IMA ADPCM, 11.025 kHz mono",
         "v_ima.wav",
         {11025, 1, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM}},
        {"MS ADPCM, 22.05 kHz stereo", "v_ms.wav", {22050, 2, SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM}},
        {"GSM 6.10, 8 kHz mono", "v_gsm.wav", {8000, 1, SF_FORMAT_WAV | SF_FORMAT_GSM610}},
        {"16-bit PCM, 192 kHz stereo", "v_192.wav", {192000, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16}},
        {"WAVEX 5.1, 48 kHz (front pair)",
         "v_51.wav",
         {48000, 6, SF_FORMAT_WAVEX | SF_FORMAT_PCM_16}},
        {"RF64 16-bit, 44.1 kHz stereo",
         "v_rf64.wav",
         {44100, 2, SF_FORMAT_RF64 | SF_FORMAT_PCM_16}},
    };
    return variants;
}

} // namespace audition
