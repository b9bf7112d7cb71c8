#pragma once
// Where the sound service sends decoded frames: an audio output that plays one sound at a time.
// All calls come from the service's thread; Handed() may also be read from any other thread.

#include "platform/sound/SoundSource.h"

#include <QString>
#include <cstddef>
#include <cstdint>

namespace win32 {

class SoundBackend {
public:
    virtual ~SoundBackend() = default;

    // Opens the output in the format it prefers, or in `format`, the first sound's, when it has
    // no preference; false, with LastError() set, when there is no output.
    virtual bool Open(const SoundFormat& format) = 0;
    virtual void Close() = 0;
    // Closes the output and lets go of everything its library keeps, also what it keeps for
    // the calling thread; the service's thread calls it as it ends.
    virtual void Shutdown() = 0;
    // False also once the output was lost (its sound server went away, say).
    virtual bool IsOpen() const = 0;
    virtual QString LastError() const = 0;
    // True when the output drops every sound instead of playing it.
    virtual bool Drops() const = 0;
    // The format the output plays; zeros while it is closed.
    virtual SoundFormat DeviceFormat() const = 0;
    // What plays the sound, for people reading measurements: the library and its driver or server.
    virtual QString Name() const = 0;

    // Replaces whatever is queued at once by a new sound of `format`, which may differ from the
    // format the output was opened for, beginning with its first `frames` interleaved frames;
    // the sound cut off fades out. False, with the output silent, when it cannot play `format`.
    virtual bool Start(const SoundFormat& format, const float* first, std::size_t frames) = 0;
    // Appends interleaved frames of the current sound.
    virtual void Queue(const float* samples, std::size_t frames) = 0;
    // Tells that the current sound has no more frames, so that nothing is held back.
    virtual void Finish() = 0;
    // Drops the current sound; it fades out.
    virtual void Stop() = 0;
    // Passes on to the device what it has room for; returns the seconds of the current sound
    // queued and not yet handed to the device.
    virtual double Feed() = 0;
    // Frames of the current sound handed to the device so far, counted in its own rate.
    virtual std::uint64_t Handed() const = 0;
};

} // namespace win32
