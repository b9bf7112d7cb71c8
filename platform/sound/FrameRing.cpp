#include "platform/sound/FrameRing.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace win32 {

void FrameRing::Reset(int channels, std::size_t frames) {
    channels_ = static_cast<std::size_t>(std::max(channels, 1));
    const std::size_t size = std::bit_ceil(std::max<std::size_t>(frames, 2));
    ring_.assign(size * channels_, 0.0f);
    mask_ = size - 1;
}

void FrameRing::Put(std::uint64_t at, const float* frames, std::size_t count) {
    for (std::size_t done = 0; done < count;) {
        const std::size_t index = static_cast<std::size_t>((at + done) & mask_);
        const std::size_t run = std::min(count - done, Size() - index);
        float* to = ring_.data() + index * channels_;
        if (frames != nullptr) {
            std::memcpy(to, frames + done * channels_, run * channels_ * sizeof(float));
        } else {
            std::fill_n(to, run * channels_, 0.0f);
        }
        done += run;
    }
}

void FrameRing::Get(std::uint64_t at, float* out, std::size_t count) const {
    for (std::size_t done = 0; done < count;) {
        const std::size_t index = static_cast<std::size_t>((at + done) & mask_);
        const std::size_t run = std::min(count - done, Size() - index);
        std::memcpy(out + done * channels_, ring_.data() + index * channels_,
                    run * channels_ * sizeof(float));
        done += run;
    }
}

} // namespace win32
