#include "tests/support/audition/MonitorRecording.h"

#include "tests/support/audition/Clock.h"
#include "tests/support/audition/PulseServer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <string>
#include <unistd.h>

namespace audition {

static_assert(kSinkChannels == 2, "the recording keeps the sink's two channels");

bool MonitorRecording::Start() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    parec_ =
        ChildProcess({"parec", "--raw", "--format=float32le", "--rate=" + std::to_string(kSinkRate),
                      "--channels=" + std::to_string(kSinkChannels), "--latency-msec=1",
                      std::string("--device=") + kSink + ".monitor"},
                     ends[1]);
    close(ends[1]);
    fd_ = ends[0];
    reader_ = std::thread([this] { Read(); });
    for (int i = 0; i < 500 && frames_ == 0; ++i) {
        Sleep(0.01);
    }
    return frames_ > 0;
}

void MonitorRecording::Stop() {
    parec_.Stop();
    if (reader_.joinable()) {
        reader_.join();
    }
    close(fd_);
}

void MonitorRecording::Read() {
    constexpr std::size_t kFrameBytes = sizeof(float) * kChannels;
    std::vector<char> buffer(1 << 16);
    std::size_t pending = 0;
    for (;;) {
        const ssize_t got = read(fd_, buffer.data() + pending, buffer.size() - pending);
        const double now = Now();
        if (got <= 0) {
            break;
        }
        pending += static_cast<std::size_t>(got);
        const std::size_t whole = pending / kFrameBytes * kFrameBytes;
        const std::size_t at = samples_.size();
        samples_.resize(at + whole / sizeof(float));
        std::memcpy(samples_.data() + at, buffer.data(), whole);
        std::memmove(buffer.data(), buffer.data() + whole, pending - whole);
        pending -= whole;
        arrivals_.push_back({Frames(), now});
        frames_ = Frames();
    }
}

float MonitorRecording::Peak(std::size_t frame) const {
    return std::max(std::fabs(Sample(frame, 0)), std::fabs(Sample(frame, 1)));
}

double MonitorRecording::Offset(std::size_t frame) const {
    const std::size_t reach = kSinkRate / 2;
    const auto from = std::lower_bound(arrivals_.begin(), arrivals_.end(),
                                       Arrival{frame > reach ? frame - reach : 0, 0.0});
    const auto to = std::lower_bound(from, arrivals_.end(), Arrival{frame + reach, 0.0});
    if (from == to) {
        // Past the recording's end: its last arrival.
        return arrivals_.back().time - static_cast<double>(arrivals_.back().frames) / kSinkRate;
    }
    double offset = std::numeric_limits<double>::infinity();
    for (auto it = from; it != to; ++it) {
        offset = std::min(offset, it->time - static_cast<double>(it->frames) / kSinkRate);
    }
    return offset;
}

double MonitorRecording::Time(std::size_t frame) const {
    return Offset(frame) + static_cast<double>(frame) / kSinkRate;
}

std::size_t MonitorRecording::Frame(double time) const {
    const auto at = [&](double offset) {
        return static_cast<std::size_t>(
            std::clamp((time - offset) * kSinkRate, 0.0, static_cast<double>(Frames())));
    };
    // From a guess in the middle, twice nearer.
    return at(Offset(at(Offset(Frames() / 2))));
}

std::size_t MonitorRecording::FirstLoud(std::size_t from, std::size_t to, float level) const {
    while (from < to && Peak(from) <= level) {
        ++from;
    }
    return from;
}

std::size_t MonitorRecording::EndOfLoud(std::size_t from, std::size_t to, float level) const {
    while (to > from && Peak(to - 1) <= level) {
        --to;
    }
    return to;
}

std::vector<std::pair<std::size_t, std::size_t>> MonitorRecording::Gaps(std::size_t from,
                                                                        std::size_t to) const {
    std::vector<std::pair<std::size_t, std::size_t>> gaps;
    std::size_t quiet = from;
    for (std::size_t i = from; i <= to; ++i) {
        if (i < to && Peak(i) < 0.005f) {
            continue;
        }
        if (i - quiet >= 3) {
            gaps.emplace_back(quiet, i);
        }
        quiet = i + 1;
    }
    return gaps;
}

} // namespace audition
