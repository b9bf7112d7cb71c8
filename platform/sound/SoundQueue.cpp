#include "platform/sound/SoundQueue.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace win32 {

void SoundQueue::Reset(int channels, std::size_t capacity, std::size_t fadeFrames) {
    ring_.Reset(channels, capacity);
    channels_ = ring_.Channels();
    // Half a cosine: it leaves the sound's level and arrives at silence without a corner.
    fade_.resize(fadeFrames);
    for (std::size_t i = 0; i < fadeFrames; ++i) {
        const double phase =
            std::numbers::pi * static_cast<double>(i + 1) / static_cast<double>(fadeFrames + 1);
        fade_[i] = static_cast<float>(0.5 * (1.0 + std::cos(phase)));
    }
    fading_.assign(fadeFrames * channels_, 0.0f);
    written_ = 0;
    start_ = 0;
    read_ = 0;
    seen_ = 0;
    fadeLeft_ = 0;
}

void SoundQueue::Replace(const float* frames, std::size_t count) {
    const std::uint64_t start = written_.load(std::memory_order_relaxed);
    ring_.Put(start, frames, count);
    // The new start is published before its frames: the device may cut over to nothing for one
    // period, but never plays the new sound's frames as part of the old one.
    start_.store(start, std::memory_order_release);
    written_.store(start + count, std::memory_order_release);
}

void SoundQueue::Push(const float* frames, std::size_t count) {
    const std::uint64_t at = written_.load(std::memory_order_relaxed);
    ring_.Put(at, frames, count);
    written_.store(at + count, std::memory_order_release);
}

std::size_t SoundQueue::Room() const {
    const std::uint64_t used =
        written_.load(std::memory_order_relaxed) - read_.load(std::memory_order_acquire);
    return static_cast<std::size_t>(ring_.Size() - used);
}

std::size_t SoundQueue::Waiting() const {
    const std::uint64_t from =
        std::max(read_.load(std::memory_order_acquire), start_.load(std::memory_order_relaxed));
    return static_cast<std::size_t>(written_.load(std::memory_order_relaxed) - from);
}

std::uint64_t SoundQueue::Taken() const {
    const std::uint64_t start = start_.load(std::memory_order_acquire);
    const std::uint64_t read = read_.load(std::memory_order_acquire);
    return read > start ? read - start : 0;
}

void SoundQueue::BeginFade(std::uint64_t start) {
    fadeDone_ = 0;
    seen_ = start;
    read_.store(start, std::memory_order_release);
}

void SoundQueue::Pull(float* out, std::size_t count) {
    // The end first: a new end comes with the start of its sound (see Replace).
    const std::uint64_t written = written_.load(std::memory_order_acquire);
    const std::uint64_t start = start_.load(std::memory_order_acquire);
    std::uint64_t read = read_.load(std::memory_order_relaxed);
    if (start != seen_) {
        // Cut: what was queued of the old sound is skipped, all but the frames of its fade.
        // A fade still running is dropped; that sound was already on its way down.
        fadeLeft_ = static_cast<std::size_t>(std::min<std::uint64_t>(fade_.size(), start - read));
        ring_.Get(read, fading_.data(), fadeLeft_);
        BeginFade(start);
        read = start;
    }
    // The end may be older than a start pushed since.
    const std::size_t got =
        written > read ? static_cast<std::size_t>(std::min<std::uint64_t>(count, written - read))
                       : 0;
    ring_.Get(read, out, got);
    std::fill(out + got * channels_, out + count * channels_, 0.0f);
    read += got;
    const std::size_t fading = std::min(count, fadeLeft_);
    for (std::size_t frame = 0; frame < fading; ++frame, ++fadeDone_) {
        for (std::size_t channel = 0; channel < channels_; ++channel) {
            float& sample = out[frame * channels_ + channel];
            sample = std::clamp(
                sample + fade_[fadeDone_] * fading_[fadeDone_ * channels_ + channel], -1.0f, 1.0f);
        }
    }
    fadeLeft_ -= fading;
    read_.store(read, std::memory_order_release);
}

void SoundQueue::Rewind(const float* held, std::size_t count) {
    fadeLeft_ = std::min(count, fade_.size());
    std::copy(held, held + fadeLeft_ * channels_, fading_.begin());
    BeginFade(start_.load(std::memory_order_acquire));
}

} // namespace win32
