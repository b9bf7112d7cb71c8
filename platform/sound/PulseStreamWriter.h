#pragma once
// What the PulseAudio output writes to its stream, and where: it keeps some 50 ms of sound
// queued at the server, beyond what the server has mixed, and writes a new sound over those
// frames from just past what the server has mixed, with the cut sound's frames as the server
// held them fading out over its start. It knows nothing of libpulse: the connection tells it
// the stream's clock and takes what it writes, so that the arithmetic of positions, which
// decides what a listener hears after a cut, can be driven by a made-up clock.
//
// Positions count frames from the stream's start. Calls come with libpulse's lock held.

#include "platform/sound/FrameRing.h"
#include "platform/sound/SoundQueue.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace win32 {

class PulseStreamWriter {
public:
    // Where the stream stands, as the server told last.
    struct Clock {
        std::int64_t heard = 0; // the position being played
        std::int64_t mixed = 0; // the position the server has mixed up to, at or past `heard`
    };
    // Takes `count` interleaved frames to be played from stream position `at` on.
    using Sink = std::function<void(std::int64_t at, const float* frames, std::size_t count)>;

    // Begins a stream of `format` whose position being played is `heard`.
    void Reset(const SoundFormat& format, std::int64_t heard);

    // Hands the server what `queue` has, as far as the server is to hold, and silence beyond,
    // so that it never runs dry; a new sound in the queue is written over the old one first.
    void Pump(const Clock& clock, SoundQueue& queue, const Sink& sink);
    // Frames of the sound written and not yet heard.
    std::size_t Unheard(const Clock& clock) const;

    // The timing this output asks of its server, in microseconds: what it holds ahead of the
    // position being played, and how often it is topped up (with early requests, also how far
    // ahead it mixes).
    static constexpr std::uint64_t kAheadUsec = 50000;
    static constexpr std::uint64_t kPeriodUsec = 5000;

private:
    void Cut(const Clock& clock, SoundQueue& queue, const Sink& sink);
    // Writes `count` frames at `at`: the queue's next ones, or silence where `queue` is null.
    // With `cutting` they begin the new sound, and the frames held there fade out over them.
    void Write(std::int64_t at, std::size_t count, SoundQueue* queue, const Sink& sink,
               bool cutting = false);
    std::int64_t Frames(std::uint64_t usec) const;

    SoundFormat format_;
    FrameRing written_; // what the server was given, by stream position
    std::vector<float> scratch_;
    std::vector<float> held_; // what the server held of a cut sound where the new one begins
    std::int64_t end_ = 0;    // the position after the last frame of sound written
    std::int64_t sent_ = 0;   // the position after the last frame written, silence included
};

} // namespace win32
