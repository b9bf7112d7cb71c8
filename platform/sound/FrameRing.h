#pragma once
// Frames by their position in a stream, in a ring that keeps the newest of them: the sound
// queue's frames on their way to the device, and the frames an output has handed to a sound
// server, which it may still write over. Positions count frames from the stream's start and
// never wrap; the caller keeps track of which of them the ring still holds.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace win32 {

class FrameRing {
public:
    // Empties the ring for frames of `channels` channels; it holds at least `frames` of them.
    void Reset(int channels, std::size_t frames);
    // Frames the ring holds (a power of two).
    std::size_t Size() const { return static_cast<std::size_t>(mask_ + 1); }
    std::size_t Channels() const { return channels_; }

    // Keeps `count` interleaved frames at positions from `at` on: `frames`, or silence where
    // it is null.
    void Put(std::uint64_t at, const float* frames, std::size_t count);
    // Copies the `count` frames kept at positions from `at` on into `out`.
    void Get(std::uint64_t at, float* out, std::size_t count) const;

private:
    std::vector<float> ring_;
    std::size_t channels_ = 1;
    std::uint64_t mask_ = 0;
};

} // namespace win32
