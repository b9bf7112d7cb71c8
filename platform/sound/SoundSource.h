#pragma once
// A sound the sound service can play: its format and its frames, decoded on demand as
// interleaved 32-bit floats in [-1, 1].

#include <cstddef>

namespace win32 {

struct SoundFormat {
    int rate = 0;     // frames per second
    int channels = 0; // 1 to 8
};

class SoundSource {
public:
    virtual ~SoundSource() = default;
    virtual SoundFormat Format() const = 0;
    // Decodes up to `frames` frames into `out` (room for frames × channels floats); fewer at the
    // end of the sound, 0 once it is over or the data cannot be decoded any further.
    virtual std::size_t Read(float* out, std::size_t frames) = 0;
};

} // namespace win32
