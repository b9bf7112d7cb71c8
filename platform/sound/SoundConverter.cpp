#include "platform/sound/SoundConverter.h"

#include <SDL.h>
#include <algorithm>
#include <samplerate.h>

namespace win32 {

void SoundConverter::MixerDeleter::operator()(SDL_AudioStream* stream) const {
    SDL_FreeAudioStream(stream);
}

void SoundConverter::ResamplerDeleter::operator()(SRC_STATE* state) const {
    src_delete(state);
}

SoundConverter::SoundConverter() = default;

SoundConverter::~SoundConverter() = default;

bool SoundConverter::Start(const SoundFormat& from, const SoundFormat& to) {
    converted_.clear();
    dropped_ = 0;
    sourceChannels_ = static_cast<std::size_t>(from.channels);
    channels_ = static_cast<std::size_t>(to.channels);
    ratio_ = static_cast<double>(to.rate) / from.rate;
    // The mixer keeps the rate, so SDL's resampler never runs.
    mixer_.reset(SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(from.channels), from.rate,
                                    AUDIO_F32SYS, static_cast<Uint8>(to.channels), from.rate));
    resampler_.reset();
    if (from.rate != to.rate) {
        int error = 0;
        resampler_.reset(src_new(SRC_SINC_FASTEST, to.channels, &error));
    }
    return mixer_ && (resampler_ || from.rate == to.rate);
}

void SoundConverter::Put(const float* frames, std::size_t count, bool last) {
    if (!mixer_) {
        return;
    }
    if (count > 0) {
        SDL_AudioStreamPut(mixer_.get(), frames,
                           static_cast<int>(count * sourceChannels_ * sizeof(float)));
    }
    const int bytes = std::max(SDL_AudioStreamAvailable(mixer_.get()), 0);
    mixed_.resize(static_cast<std::size_t>(bytes) / sizeof(float));
    const int got = bytes > 0 ? SDL_AudioStreamGet(mixer_.get(), mixed_.data(), bytes) : 0;
    const std::size_t mixedFrames =
        static_cast<std::size_t>(std::max(got, 0)) / sizeof(float) / channels_;
    if (!resampler_) {
        Append(mixed_.data(), mixedFrames);
        return;
    }
    SRC_DATA data{};
    data.data_in = mixed_.data();
    data.input_frames = static_cast<long>(mixedFrames);
    data.src_ratio = ratio_;
    data.end_of_input = last ? 1 : 0;
    // At the end the resampler gives out what it held back over as many calls as it needs.
    do {
        const auto room =
            static_cast<std::size_t>(static_cast<double>(data.input_frames) * ratio_) + 256;
        const std::size_t end = converted_.size();
        converted_.resize(end + room * channels_);
        data.data_out = converted_.data() + end;
        data.output_frames = static_cast<long>(room);
        if (src_process(resampler_.get(), &data) != 0) {
            converted_.resize(end);
            return;
        }
        converted_.resize(end + static_cast<std::size_t>(data.output_frames_gen) * channels_);
        data.data_in += data.input_frames_used * static_cast<long>(channels_);
        data.input_frames -= data.input_frames_used;
    } while (data.input_frames > 0 || (last && data.output_frames_gen > 0));
}

void SoundConverter::Append(const float* frames, std::size_t count) {
    converted_.insert(converted_.end(), frames, frames + count * channels_);
}

const float* SoundConverter::Converted() const {
    return converted_.data() + dropped_ * channels_;
}

std::size_t SoundConverter::Frames() const {
    return converted_.size() / channels_ - dropped_;
}

void SoundConverter::Drop(std::size_t count) {
    dropped_ += count;
    // The taken frames go once they are half of what is kept.
    if (dropped_ * channels_ * 2 >= converted_.size()) {
        converted_.erase(converted_.begin(),
                         converted_.begin() + static_cast<std::ptrdiff_t>(dropped_ * channels_));
        dropped_ = 0;
    }
}

} // namespace win32
