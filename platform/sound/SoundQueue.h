#pragma once
// The frames on their way to the audio output, already in its format: a ring between the sound
// service's thread, which pushes them, and the output (a device's callback, or the thread that
// feeds a sound server), which pulls them. Neither side ever waits for the other, so a busy
// service thread cannot make the output miss its deadline. A new sound replaces the one queued
// at once: the output skips what is left of the old sound and fades out its next few
// milliseconds over the start of the new one, so that the cut does not click.
//
// One thread pushes (Reset, Replace, Push, Room, Waiting), one pulls (Pull, Rewind, Waiting);
// Taken may be read from any thread. Reset only while nothing pulls.

#include "platform/sound/FrameRing.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace win32 {

class SoundQueue {
public:
    // Empties the queue for frames of `channels` channels; it holds at least `capacity` frames,
    // and a cut sound fades out over `fadeFrames` frames.
    void Reset(int channels, std::size_t capacity, std::size_t fadeFrames);

    // Starts a new sound with `count` frames of it (none to stop the sound playing): the
    // device plays them next, and the sound queued before fades out over them.
    void Replace(const float* frames, std::size_t count);
    // Appends frames to the current sound; `count` at most Room().
    void Push(const float* frames, std::size_t count);
    std::size_t Room() const;
    // Frames of the current sound pushed and not yet pulled.
    std::size_t Waiting() const;
    // Frames of the current sound pulled so far.
    std::uint64_t Taken() const;
    // How many frames a cut sound fades out over.
    std::size_t FadeFrames() const { return fade_.size(); }

    // Fills `out` with `count` frames: the current sound's, silence where it has none.
    void Pull(float* out, std::size_t count);
    // For an output that holds frames it has pulled but not yet played, and overwrites them from
    // where a new sound is to begin: after a Replace, and before the next Pull, hands the queue
    // what the output holds of the cut sound from that point on (`count` frames, none when it
    // holds nothing); these fade out over the new sound instead of what the queue still had.
    void Rewind(const float* held, std::size_t count);

private:
    // Takes the newest sound as the one playing, with the cut sound's first frames fading out.
    void BeginFade(std::uint64_t start);

    FrameRing ring_;
    std::size_t channels_ = 1;
    std::vector<float> fade_; // the gain of each frame of a fade-out

    // Positions count frames from the queue's creation and never wrap.
    std::atomic<std::uint64_t> written_{0}; // end of what was pushed
    std::atomic<std::uint64_t> start_{0};   // start of the newest sound
    std::atomic<std::uint64_t> read_{0};    // end of what was pulled

    // The pulling side's own state.
    std::uint64_t seen_ = 0;    // start of the sound it plays
    std::vector<float> fading_; // the first frames of the cut sound, which fade out
    std::size_t fadeDone_ = 0;  // frames of the fade played
    std::size_t fadeLeft_ = 0;  // frames of the fade still to play
};

} // namespace win32
