#pragma once
// The sound on its way to the audio output, owned by the sound service: converted to the
// output's format (SoundConverter) on the service's thread and passed on to the SoundQueue that
// the output pulls from, as the queue has room. It also tells how much of the sound the output
// has pulled, counted in the sound's own rate.
//
// The service's thread calls everything but Queue().Pull, which the output calls from its own
// thread, and Handed, which any thread may.

#include "platform/sound/SoundConverter.h"
#include "platform/sound/SoundQueue.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace win32 {

class SoundFeed {
public:
    // The queue the output pulls from; the output resets it to its format as it opens.
    SoundQueue& Queue() { return queue_; }

    // Takes a new sound of `format` to be converted to the queue's format, with its first
    // `frames` frames; false when it cannot be converted. The sound replaces the one queued
    // at the next Replace().
    bool Start(const SoundFormat& format, const float* first, std::size_t frames);
    // Hands the queue the first frames of the sound taken by Start in place of whatever it
    // held.
    void Replace();
    // Converts more of the current sound and passes on what the queue has room for.
    void Convert(const float* samples, std::size_t frames);
    // Tells that the current sound has no more frames, so that nothing of it is held back.
    void Finish();
    // Moves converted frames on to the queue, as many as it has room for.
    void Pass();
    // Drops the current sound, queued or not: the output fades out what it was playing.
    void Stop();
    // Drops what is converted and not yet queued, as the output closes.
    void Drop();

    // Frames of the current sound converted and not yet pulled by the output.
    std::size_t Unpulled() const;
    // Frames of the current sound, in its own rate, that the output has pulled; the silence
    // behind the sound is not part of it.
    std::uint64_t Handed() const;

private:
    SoundQueue queue_;
    SoundConverter converter_;
    std::atomic<int> sourceRate_{1};
    std::atomic<int> queueRate_{1};
    std::atomic<std::uint64_t> converting_{0}; // frames of the current sound given to the converter
};

} // namespace win32
