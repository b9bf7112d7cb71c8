#pragma once
// What a sound file is, read from its header alone: length, rate, channels and how its samples
// are stored, for telling the user about a file without playing it. The file is opened, its
// header read and the file closed again within the call; nothing of the sound service is
// touched. Any thread may call.

#include <QString>
#include <cstdint>
#include <optional>

namespace win32 {

// How a file stores its samples: a PCM width, a float width, or a codec.
enum class SoundEncoding {
    Other,
    Pcm8,
    Pcm16,
    Pcm24,
    Pcm32,
    Float32,
    Float64,
    ImaAdpcm,
    MsAdpcm,
    ALaw,
    MuLaw,
    Gsm610,
};

struct SoundFacts {
    std::int64_t frames = 0; // the sound's length in frames, without a block codec's padding
    int rate = 0;            // frames per second
    int channels = 0;
    SoundEncoding encoding = SoundEncoding::Other;
};

// The facts of the WAV file named by the Windows path `path`; nothing when it is not a regular
// file, not a WAV file (plain, WAVEX or RF64), or not one the sound service can decode.
std::optional<SoundFacts> GetSoundFacts(const QString& path);

} // namespace win32
