#include "platform/sound/SoundQueue.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace win32 {

namespace {

// Converted frames kept ahead of the output; the service keeps about a quarter of a second of
// them decoded, this leaves room for that, a replacing sound's first block and the fade.
constexpr int kQueueSeconds = 2;
// A cut sound fades out over this long: long enough not to click, short enough not to be heard
// as a fade.
constexpr int kFadeMilliseconds = 3;

} // namespace

void SoundQueue::Reset(const SoundFormat& format) {
    ring_.Reset(format.channels, static_cast<std::size_t>(format.rate) * kQueueSeconds);
    channels_ = ring_.Channels();
    rate_ = format.rate;
    // Half a cosine: it leaves the sound's level and arrives at silence without a corner.
    const auto fadeFrames = static_cast<std::size_t>(format.rate * kFadeMilliseconds / 1000);
    gains_.resize(fadeFrames);
    for (std::size_t i = 0; i < fadeFrames; ++i) {
        const double phase =
            std::numbers::pi * static_cast<double>(i + 1) / static_cast<double>(fadeFrames + 1);
        gains_[i] = static_cast<float>(0.5 * (1.0 + std::cos(phase)));
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
    // The new start is published before its frames: the output may cut over to nothing for one
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

std::size_t SoundQueue::Queued() const {
    const std::uint64_t from =
        std::max(read_.load(std::memory_order_acquire), start_.load(std::memory_order_relaxed));
    return static_cast<std::size_t>(written_.load(std::memory_order_relaxed) - from);
}

std::uint64_t SoundQueue::Pulled() const {
    const std::uint64_t start = start_.load(std::memory_order_acquire);
    const std::uint64_t read = read_.load(std::memory_order_acquire);
    return read > start ? read - start : 0;
}

bool SoundQueue::CutPending() const {
    return start_.load(std::memory_order_acquire) != seen_;
}

void SoundQueue::Pull(float* out, std::size_t count) {
    Take(out, count, Cut::FromQueue, {});
}

void SoundQueue::PullCurrent(float* out, std::size_t count) {
    Take(out, count, Cut::Wait, {});
}

void SoundQueue::PullCut(float* out, std::size_t count, std::span<const float> held) {
    Take(out, count, Cut::FromHeld, held);
}

void SoundQueue::Take(float* out, std::size_t count, Cut cut, std::span<const float> held) {
    // The end first: a new end comes with the start of its sound (see Replace).
    std::uint64_t written = written_.load(std::memory_order_acquire);
    const std::uint64_t start = start_.load(std::memory_order_acquire);
    std::uint64_t read = read_.load(std::memory_order_relaxed);
    if (start != seen_ && cut == Cut::Wait) {
        // The current sound ends where the new one starts.
        written = std::min(written, start);
    } else if (start != seen_) {
        // Cut: what was queued of the old sound is skipped, all but the frames of its fade.
        // A fade still running is dropped; that sound was already on its way down.
        if (cut == Cut::FromHeld) {
            fadeLeft_ = std::min(held.size() / channels_, gains_.size());
            std::copy_n(held.begin(), fadeLeft_ * channels_, fading_.begin());
        } else {
            fadeLeft_ =
                static_cast<std::size_t>(std::min<std::uint64_t>(gains_.size(), start - read));
            ring_.Get(read, fading_.data(), fadeLeft_);
        }
        fadeDone_ = 0;
        seen_ = start;
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
                sample + gains_[fadeDone_] * fading_[fadeDone_ * channels_ + channel], -1.0f, 1.0f);
        }
    }
    fadeLeft_ -= fading;
    read_.store(read, std::memory_order_release);
}

} // namespace win32
