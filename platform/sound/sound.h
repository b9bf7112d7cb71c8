#pragma once
// Playing sound files as the system's sound service does. sndPlaySound hands a WAV file to the
// process's one sound service and returns at once; a new request replaces the sound playing at
// once, and the sound cut off fades out over a few milliseconds rather than clicking. A
// file that cannot be opened or decoded (missing, not a WAV file, truncated, empty) plays the
// default sound, a short chime, unless SND_NODEFAULT is given. Without an audio device
// requests are dropped quietly, with one line on stderr the first time. Nothing of the audio
// system is touched before the first request.
//
// The file is opened and its first block decoded in the call; the rest is decoded on the
// service's thread while it plays, so how long a call takes does not depend on the file's
// length. Any thread may call.

#include "platform/core/windef.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>

namespace win32 {

inline constexpr UINT SND_SYNC = 0x0000;
inline constexpr UINT SND_ASYNC = 0x0001;
inline constexpr UINT SND_NODEFAULT = 0x0002;

// Plays the file named by the Windows path `path`; an empty path stops the sound playing.
// Returns false only when the file cannot be played and SND_NODEFAULT forbids the chime (the
// sound playing is stopped then too). Without SND_ASYNC the call returns when the sound ends.
bool sndPlaySound(const QString& path, UINT flags);

// What the service is doing, for tests and measurements.
struct SoundStatus {
    std::uint64_t request = 0;      // number of the request being played or played last, from 1
    QString path;                   // its POSIX path, as given to the decoder
    bool defaultSound = false;      // the chime stands in for it
    bool playing = false;           // some of it is still to be handed to the device
    std::uint64_t framesQueued = 0; // frames of it decoded and given to the output
    std::uint64_t framesHanded = 0; // frames of it the device has taken
    bool deviceOpen = false;
    int deviceRate = 0; // the format the open device plays
    int deviceChannels = 0;
    QString output; // what plays it: libpulse and its server, or SDL and its driver
    // When its first frames were given to the output.
    std::chrono::steady_clock::time_point started;
};

SoundStatus GetSoundStatus();
// Polls the status until `condition` holds; false when `timeout` passed first.
bool WaitForSound(const std::function<bool(const SoundStatus&)>& condition,
                  std::chrono::milliseconds timeout);
// How long the device stays open with nothing to play (3 seconds unless changed).
void SetSoundIdleClose(std::chrono::milliseconds delay);

} // namespace win32
