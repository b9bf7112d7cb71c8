#pragma once
// Which files the sound service takes for sound: what both the decoder and the file's facts
// for the hint accept, so that a hint never describes a file the player refuses.

#include <sndfile.h>

namespace win32 {

// True for a WAV, WAVEX or RF64 file of one channel or more at a rate an output opens at;
// other rates are a damaged header rather than sound.
bool IsPlayableWave(const SF_INFO& info);

} // namespace win32
