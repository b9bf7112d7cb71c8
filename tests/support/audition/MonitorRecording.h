#pragma once
// The null sink's monitor, recorded by parec from Start to Stop, with the time at which the sink
// mixed each frame.
//
// How the frames are timed: parec hands the monitor over in blocks of about a millisecond, and
// each block is stamped with the time it arrived. A block may arrive late (the pipe, the
// scheduler) but never before the sink mixed it, so the earliest arrival near a frame, counted
// back by the frames between, tells when the sink mixed that frame. The recording's own delay
// and its jitter thus drop out, for every sound measured on it alike. Only nearby arrivals
// count, within half a second: the null sink's clock runs a little fast (it rounds each block's
// length down to whole microseconds), some 0.05 % while a client asks for a short latency.

#include "tests/support/audition/ChildProcess.h"

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace audition {

class MonitorRecording {
public:
    // Starts recording; false when no sound comes from the monitor.
    bool Start();
    void Stop();

    // The following hold after Stop.
    std::size_t Frames() const { return samples_.size() / kChannels; }
    float Sample(std::size_t frame, int channel) const {
        return samples_[frame * kChannels + static_cast<std::size_t>(channel)];
    }
    // The louder channel of a frame.
    float Peak(std::size_t frame) const;
    // When the sink mixed a frame, on the clock of Now().
    double Time(std::size_t frame) const;
    // The frame the sink mixed at `time`, within the recording.
    std::size_t Frame(double time) const;

    // The first frame louder than `level` in [from, to); `to` when there is none.
    std::size_t FirstLoud(std::size_t from, std::size_t to, float level) const;
    // One past the last frame louder than `level` in [from, to); `from` when there is none.
    std::size_t EndOfLoud(std::size_t from, std::size_t to, float level) const;
    // The drop-outs in [from, to): runs of at least three frames below a 200th of scale, which
    // a tone at a tenth of scale or more never has. Each is a frame range [first, second).
    std::vector<std::pair<std::size_t, std::size_t>> Gaps(std::size_t from, std::size_t to) const;

private:
    static constexpr std::size_t kChannels = 2;
    struct Arrival {
        std::size_t frames; // recorded by then
        double time;
        bool operator<(const Arrival& other) const { return frames < other.frames; }
    };
    void Read();
    // When the recording's first frame was mixed, as the arrivals near `frame` tell.
    double Offset(std::size_t frame) const;

    ChildProcess parec_;
    int fd_ = -1;
    std::thread reader_;
    std::atomic<std::size_t> frames_{0};
    std::vector<float> samples_;
    std::vector<Arrival> arrivals_;
};

} // namespace audition
