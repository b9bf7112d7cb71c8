#include "platform/sound/PulseStreamWriter.h"

#include <algorithm>

namespace win32 {

namespace {

// A new sound begins this far past what the server has mixed: time for the server to take it.
constexpr std::uint64_t kLeadUsec = 3000;

} // namespace

std::int64_t PulseStreamWriter::Frames(std::uint64_t usec) const {
    return static_cast<std::int64_t>(usec * static_cast<std::uint64_t>(format_.rate) / 1000000);
}

void PulseStreamWriter::Reset(const SoundFormat& format, std::int64_t heard) {
    format_ = format;
    written_.Reset(format.channels, static_cast<std::size_t>(Frames(2 * kAheadUsec)));
    end_ = sent_ = heard;
}

void PulseStreamWriter::Pump(const Clock& clock, SoundQueue& queue, const Sink& sink) {
    if (queue.CutPending()) {
        Cut(clock, queue, sink);
    }
    const std::int64_t horizon = clock.mixed + Frames(kAheadUsec);
    const auto queued = static_cast<std::int64_t>(queue.Queued());
    if (queued > 0) {
        // Frames due where the server has mixed already were heard as silence; the sound
        // goes on from here.
        end_ = std::max(end_, clock.mixed + Frames(kLeadUsec));
        const std::int64_t count = std::min(queued, horizon - end_);
        if (count > 0) {
            Write(end_, static_cast<std::size_t>(count), &queue, sink);
            end_ += count;
        }
    }
    if (sent_ + Frames(kPeriodUsec) <= horizon) {
        Write(sent_, static_cast<std::size_t>(horizon - sent_), nullptr, sink);
    }
}

void PulseStreamWriter::Cut(const Clock& clock, SoundQueue& queue, const Sink& sink) {
    const std::int64_t at = clock.mixed + Frames(kLeadUsec);
    const std::size_t fade =
        at < sent_ ? std::min(static_cast<std::size_t>(sent_ - at), queue.FadeFrames()) : 0;
    held_.resize(fade * written_.Channels());
    written_.Get(static_cast<std::uint64_t>(at), held_.data(), fade);
    // At least the fade, and as much of the new sound as the server is to hold.
    const std::size_t count = std::max(
        std::min(queue.Queued(), static_cast<std::size_t>(Frames(kAheadUsec - kLeadUsec))), fade);
    if (count > 0) {
        Write(at, count, &queue, sink, true);
    } else {
        // Nothing to write, nothing held to fade: the cut is taken all the same.
        queue.PullCut(nullptr, 0, held_);
    }
    end_ = at + static_cast<std::int64_t>(count);
    // Nothing of the cut sound is left to play.
    if (end_ < sent_) {
        Write(end_, static_cast<std::size_t>(sent_ - end_), nullptr, sink);
    }
}

void PulseStreamWriter::Write(std::int64_t at, std::size_t count, SoundQueue* queue,
                              const Sink& sink, bool cutting) {
    if (count == 0) {
        return;
    }
    scratch_.resize(count * written_.Channels());
    if (queue == nullptr) {
        std::fill(scratch_.begin(), scratch_.end(), 0.0f);
    } else if (cutting) {
        queue->PullCut(scratch_.data(), count, held_);
    } else {
        queue->PullCurrent(scratch_.data(), count);
    }
    written_.Put(static_cast<std::uint64_t>(at), scratch_.data(), count);
    sink(at, scratch_.data(), count);
    sent_ = std::max(sent_, at + static_cast<std::int64_t>(count));
}

std::size_t PulseStreamWriter::Unheard(const Clock& clock) const {
    return static_cast<std::size_t>(std::max<std::int64_t>(end_ - clock.heard, 0));
}

} // namespace win32
