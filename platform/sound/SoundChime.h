#pragma once
// The default sound: a short two-note chime synthesised in memory, played when a requested file
// cannot be opened or decoded.

#include "platform/sound/SoundSource.h"

#include <vector>

namespace win32 {

class SoundChime : public SoundSource {
public:
    SoundFormat Format() const override;
    std::size_t Read(float* out, std::size_t frames) override;
    // Length of the whole chime in frames.
    static std::size_t Frames();

private:
    static const std::vector<float>& Samples();

    std::size_t position_ = 0;
};

} // namespace win32
