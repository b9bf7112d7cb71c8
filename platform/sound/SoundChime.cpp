#include "platform/sound/SoundChime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace win32 {

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 0.6;

// Two bell-like notes, the second a fifth above the first and starting a little later, each
// with a quick attack and an exponential decay.
std::vector<float> Synthesise() {
    const auto frames = static_cast<std::size_t>(kRate * kSeconds);
    std::vector<float> samples(frames);
    struct Note {
        double frequency;
        double start;
    };
    const Note notes[] = {{880.0, 0.0}, {1318.5, 0.12}};
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double value = 0.0;
        for (const Note& note : notes) {
            const double local = t - note.start;
            if (local < 0.0) {
                continue;
            }
            const double envelope = std::min(1.0, local / 0.005) * std::exp(-local * 7.0);
            const double phase = 2.0 * std::numbers::pi * note.frequency * local;
            value += envelope * (std::sin(phase) + 0.3 * std::sin(2.0 * phase));
        }
        samples[i] = static_cast<float>(0.25 * value);
    }
    return samples;
}

} // namespace

const std::vector<float>& SoundChime::Samples() {
    // Never destroyed: the service's thread may still be playing the chime while the process
    // runs its exit handlers, after a static vector would have been freed.
    static const auto* samples = new std::vector<float>(Synthesise());
    return *samples;
}

std::size_t SoundChime::Frames() {
    return Samples().size();
}

SoundFormat SoundChime::Format() const {
    return {kRate, 1};
}

std::size_t SoundChime::Read(float* out, std::size_t frames) {
    const std::vector<float>& samples = Samples();
    const std::size_t count = std::min(frames, samples.size() - position_);
    std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(position_), count, out);
    position_ += count;
    return count;
}

} // namespace win32
