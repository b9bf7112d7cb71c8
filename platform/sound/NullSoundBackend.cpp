#include "platform/sound/NullSoundBackend.h"

namespace win32 {

bool NullSoundBackend::Open(const SoundFormat& /*format*/) {
    return true;
}

bool NullSoundBackend::Start(const SoundFormat& /*format*/, const float* /*first*/,
                             std::size_t frames) {
    handed_ = frames;
    return true;
}

void NullSoundBackend::Queue(const float* /*samples*/, std::size_t frames) {
    handed_ += frames;
}

} // namespace win32
