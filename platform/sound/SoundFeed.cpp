#include "platform/sound/SoundFeed.h"

#include <algorithm>

namespace win32 {

bool SoundFeed::Start(const SoundFormat& format, const float* first, std::size_t frames) {
    const SoundFormat output = queue_.Format();
    sourceRate_ = format.rate;
    queueRate_ = output.rate;
    converting_ = 0;
    if (!converter_.Start(format, output)) {
        return false;
    }
    converting_ = frames;
    converter_.Put(first, frames, false);
    return true;
}

void SoundFeed::Replace() {
    const std::size_t count = std::min(converter_.Frames(), queue_.Room());
    queue_.Replace(converter_.Converted(), count);
    converter_.Drop(count);
}

void SoundFeed::Convert(const float* samples, std::size_t frames) {
    converting_ += frames;
    converter_.Put(samples, frames, false);
    Pass();
}

void SoundFeed::Finish() {
    converter_.Put(nullptr, 0, true);
    Pass();
}

void SoundFeed::Pass() {
    const std::size_t count = std::min(converter_.Frames(), queue_.Room());
    queue_.Push(converter_.Converted(), count);
    converter_.Drop(count);
}

void SoundFeed::Stop() {
    Drop();
    queue_.Replace(nullptr, 0);
}

void SoundFeed::Drop() {
    converter_.Drop(converter_.Frames());
}

std::size_t SoundFeed::Unpulled() const {
    return queue_.Queued() + converter_.Frames();
}

std::uint64_t SoundFeed::Handed() const {
    return std::min<std::uint64_t>(converting_, queue_.Pulled() *
                                                    static_cast<std::uint64_t>(sourceRate_) /
                                                    static_cast<std::uint64_t>(queueRate_));
}

} // namespace win32
