#pragma once
// Sound files for the tests and the benchmarks, written by libsndfile in any of its WAV
// variants, and spoilt on purpose where a test needs a broken one.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <sndfile.h>

namespace audition {

struct WavSpec {
    int rate = 44100;
    int channels = 2;
    int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16; // libsndfile's
};

// A sample in [-1, 1] of one channel of one frame. Integer formats take it at a full scale of
// 32767 for 16 bits, so that s / 32767 is written as the 16-bit sample s.
using SampleAt = std::function<double(std::size_t frame, int channel)>;

// Writes `frames` frames of `sample` into a new file at `path`; false when it cannot.
bool WriteWav(const QString& path, const WavSpec& wav, std::size_t frames, const SampleAt& sample);

// Makes the header of the WAV file at `path` claim `bytes` bytes of data, whatever it holds.
bool ClaimDataBytes(const QString& path, std::uint32_t bytes);

} // namespace audition
