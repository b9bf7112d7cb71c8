#include "platform/sound/WaveHeader.h"

namespace win32 {

bool IsPlayableWave(const SF_INFO& info) {
    constexpr int kMinRate = 1000;
    constexpr int kMaxRate = 768000;
    const int major = info.format & SF_FORMAT_TYPEMASK;
    return (major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64) &&
           info.channels >= 1 && info.samplerate >= kMinRate && info.samplerate <= kMaxRate;
}

} // namespace win32
