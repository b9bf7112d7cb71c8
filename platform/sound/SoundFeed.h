#pragma once
// What every audio output does with a sound before it plays it: converts it to the output's
// format (SoundConverter) on the sound service's thread and passes it on to the output's
// SoundQueue as the queue has room, and tells how much of the sound was handed to the output.
//
// The service's thread calls everything but Output().Pull/Rewind, which the output's own
// thread calls, and Handed, which any thread may.

#include "platform/sound/SoundConverter.h"
#include "platform/sound/SoundQueue.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace win32 {

class SoundFeed {
public:
    // Empties the queue for an output that plays `device`; only while nothing pulls.
    void Reset(const SoundFormat& device);

    // Takes a new sound of `format` for an output that plays `device`, and converts its first
    // `frames` frames; false when it cannot be converted. The sound replaces the one queued at
    // the next Pass(true).
    bool Start(const SoundFormat& format, const SoundFormat& device, const float* first,
               std::size_t frames);
    // Converts more of the current sound and passes on what the queue has room for.
    void Queue(const float* samples, std::size_t frames);
    // Tells that the current sound has no more frames, so that nothing of it is held back.
    void Finish();
    // Moves converted frames on to the queue, as many as it has room for; with `replacing`, the
    // first ones of a new sound replace whatever the queue held.
    void Pass(bool replacing);
    // Drops what is converted and not yet queued.
    void Drop();
    // Drops the current sound, queued or not: the output fades out what it was playing.
    void Stop();

    // Frames of the current sound converted and not yet pulled by the output.
    std::size_t Waiting() const;
    // Frames of the current sound, in its own rate, that the output has pulled; the silence
    // behind the sound is not part of it.
    std::uint64_t Handed() const;

    SoundQueue& Output() { return queue_; }

private:
    SoundQueue queue_;
    SoundConverter converter_;
    std::atomic<int> sourceRate_{1};
    std::atomic<int> deviceRate_{1};
    std::atomic<std::uint64_t> queued_{0}; // frames of the current sound given to the converter
};

} // namespace win32
