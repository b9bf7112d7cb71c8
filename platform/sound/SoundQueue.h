#pragma once
// The frames on their way to the audio output, already in its format: a ring between the sound
// service's thread, which pushes them, and the output (a device's callback, or the writer that
// feeds a sound server), which pulls them. Neither side ever waits for the other, so a busy
// service thread cannot make the output miss its deadline. A new sound replaces the one queued
// at once: the output skips what is left of the old sound and fades out its next few
// milliseconds over the start of the new one, so that the cut does not click.
//
// One thread pushes (Reset, Replace, Push, Room, Queued), one pulls (Pull, CutPending, Queued);
// Format and Pulled may be read from any thread. Reset only while nothing pulls.

#include "platform/sound/FrameRing.h"
#include "platform/sound/SoundSource.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace win32 {

class SoundQueue {
public:
    // Empties the queue for frames of `format`: it holds two seconds of them, and a cut sound
    // fades out over 3 ms.
    void Reset(const SoundFormat& format);
    SoundFormat Format() const { return {rate_.load(), static_cast<int>(channels_)}; }

    // Starts a new sound with `count` frames of it (none to stop the sound playing): the
    // output plays them next, and the sound queued before fades out over them.
    void Replace(const float* frames, std::size_t count);
    // Appends frames to the current sound; `count` at most Room().
    void Push(const float* frames, std::size_t count);
    std::size_t Room() const;
    // Frames of the current sound pushed and not yet pulled.
    std::size_t Queued() const;
    // Frames of the current sound pulled so far.
    std::uint64_t Pulled() const;
    // How many frames a cut sound fades out over.
    std::size_t FadeFrames() const { return gains_.size(); }

    // True when a new sound was pushed that no Pull has begun yet.
    bool CutPending() const;
    // Fills `out` with `count` frames: the current sound's, silence where it has none. The
    // first Pull of a new sound fades the cut one out from what the queue had left of it.
    void Pull(float* out, std::size_t count);

    // For an output that holds frames it pulled and has not played yet, and writes a new sound
    // over them. PullCurrent goes on with the sound begun, silence past its end, even when a
    // new one waits; PullCut begins the new one, with `held`, what the output holds of the cut
    // sound from where the new one begins, fading out in place of what the queue had left.
    void PullCurrent(float* out, std::size_t count);
    void PullCut(float* out, std::size_t count, std::span<const float> held);

private:
    enum class Cut { FromQueue, FromHeld, Wait };
    void Take(float* out, std::size_t count, Cut cut, std::span<const float> held);

    FrameRing ring_;
    std::size_t channels_ = 1;
    std::atomic<int> rate_{0};
    std::vector<float> gains_; // the gain of each frame of a fade-out

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
