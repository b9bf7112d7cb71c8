#include "platform/sound/SoundFeed.h"

#include <algorithm>

namespace win32 {

namespace {

// A cut sound fades out over this long: long enough not to click, short enough not to be heard
// as a fade.
constexpr int kFadeMilliseconds = 3;
// Converted frames kept ahead of the output; the service keeps about a quarter of a second of
// them decoded, this leaves room for that, a replacing sound's first block and the fade.
constexpr int kQueueSeconds = 2;

} // namespace

void SoundFeed::Reset(const SoundFormat& device) {
    queue_.Reset(device.channels, static_cast<std::size_t>(device.rate) * kQueueSeconds,
                 static_cast<std::size_t>(device.rate * kFadeMilliseconds / 1000));
    deviceRate_ = device.rate;
}

bool SoundFeed::Start(const SoundFormat& format, const SoundFormat& device, const float* first,
                      std::size_t frames) {
    sourceRate_ = format.rate;
    queued_ = 0;
    if (!converter_.Start(format, device)) {
        return false;
    }
    queued_ = frames;
    converter_.Put(first, frames, false);
    return true;
}

void SoundFeed::Queue(const float* samples, std::size_t frames) {
    queued_ += frames;
    converter_.Put(samples, frames, false);
    Pass(false);
}

void SoundFeed::Finish() {
    converter_.Put(nullptr, 0, true);
    Pass(false);
}

void SoundFeed::Pass(bool replacing) {
    const std::size_t count = std::min(converter_.Frames(), queue_.Room());
    if (replacing) {
        queue_.Replace(converter_.Waiting(), count);
    } else {
        queue_.Push(converter_.Waiting(), count);
    }
    converter_.Drop(count);
}

void SoundFeed::Drop() {
    converter_.Drop(converter_.Frames());
}

void SoundFeed::Stop() {
    Drop();
    queue_.Replace(nullptr, 0);
}

std::size_t SoundFeed::Waiting() const {
    return queue_.Waiting() + converter_.Frames();
}

std::uint64_t SoundFeed::Handed() const {
    return std::min<std::uint64_t>(queued_, queue_.Taken() *
                                                static_cast<std::uint64_t>(sourceRate_.load()) /
                                                static_cast<std::uint64_t>(deviceRate_.load()));
}

} // namespace win32
