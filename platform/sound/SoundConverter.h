#pragma once
// One sound's conversion to the audio device's format, on the sound service's thread: SDL mixes
// its channels into the device's, and libsamplerate converts its rate (SDL's own resampler
// skips at the joins where a stream's input arrives in blocks, at the rates of the 44.1 kHz
// family). The converted frames wait here until the device's queue has room for them.

#include "platform/sound/SoundSource.h"

#include <cstddef>
#include <memory>
#include <vector>

struct _SDL_AudioStream;
struct SRC_STATE_tag;

namespace win32 {

class SoundConverter {
public:
    SoundConverter();
    ~SoundConverter();

    // Drops what is waiting and takes sound of `from` to be converted to `to`; false when it
    // cannot be.
    bool Start(const SoundFormat& from, const SoundFormat& to);
    // Converts `count` interleaved frames; `last` tells that none follow, so that nothing is
    // held back.
    void Put(const float* frames, std::size_t count, bool last);
    // The converted frames waiting, interleaved, and their number.
    const float* Converted() const;
    std::size_t Frames() const;
    // Lets go of the first `count` frames waiting.
    void Drop(std::size_t count);

private:
    void Append(const float* frames, std::size_t count);

    struct MixerDeleter {
        void operator()(_SDL_AudioStream* stream) const;
    };
    struct ResamplerDeleter {
        void operator()(SRC_STATE_tag* state) const;
    };
    std::unique_ptr<_SDL_AudioStream, MixerDeleter> mixer_;
    std::unique_ptr<SRC_STATE_tag, ResamplerDeleter> resampler_; // none when the rates agree
    std::size_t sourceChannels_ = 1;
    std::size_t channels_ = 1;
    double ratio_ = 1.0;
    std::vector<float> mixed_;
    std::vector<float> converted_;
    std::size_t dropped_ = 0; // frames at the front of converted_ already taken
};

} // namespace win32
