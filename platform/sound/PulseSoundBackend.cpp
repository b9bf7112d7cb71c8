#include "platform/sound/PulseSoundBackend.h"

#include "platform/sound/FrameRing.h"
#include "platform/sound/SoundFeed.h"

#include <algorithm>
#include <atomic>
#include <pulse/pulseaudio.h>
#include <vector>

namespace win32 {

namespace {

// What the server holds ahead of the playing position: enough to ride out a busy moment of
// this process or of the server. A new sound does not wait behind it.
constexpr pa_usec_t kAheadUsec = 50000;
// How often the server is topped up; with early requests, also how far ahead it mixes.
constexpr pa_usec_t kPeriodUsec = 5000;
// A new sound begins this far past what the server has mixed: time for the server to take it.
constexpr pa_usec_t kLeadUsec = 3000;
// A server that has not answered by then counts as none.
constexpr pa_usec_t kConnectUsec = 2000000;

// Holds libpulse's lock: every call into libpulse outside its own thread takes it.
class Locked {
public:
    explicit Locked(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop); }
    ~Locked() { pa_threaded_mainloop_unlock(loop_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

} // namespace

struct PulseSoundBackend::State {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    pa_defer_event* cutter = nullptr; // makes libpulse's thread write a new sound over the old
    bool timedOut = false;
    std::atomic<bool> lost{false}; // the connection failed or broke
    pa_sample_spec streamFormat{}; // what the stream plays
    QString server;                // the server's name and version
    QString error;

    SoundFeed feed;
    // The following are libpulse's lock's.
    FrameRing written; // what the server was given, by stream position
    std::vector<float> scratch;
    std::int64_t heard = 0; // stream position being played, in frames
    std::int64_t end = 0;   // stream position after the last frame of sound written
    std::int64_t held = 0;  // stream position after the last frame written, silence included
    bool cutting = false;   // the queue holds a new sound, still to be written over the old

    SoundFormat Played() const {
        return {static_cast<int>(streamFormat.rate), streamFormat.channels};
    }

    std::int64_t Frames(pa_usec_t usec) const {
        return static_cast<std::int64_t>(usec * streamFormat.rate / PA_USEC_PER_SEC);
    }

    static void Wake(State* self) { pa_threaded_mainloop_signal(self->loop, 0); }
    static void ContextChanged(pa_context* context, void* self) {
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) {
            static_cast<State*>(self)->lost = true;
        }
        Wake(static_cast<State*>(self));
    }
    static void StreamChanged(pa_stream* stream, void* self) {
        if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) {
            static_cast<State*>(self)->lost = true;
        }
        Wake(static_cast<State*>(self));
    }
    static void ServerDescribed(pa_context*, const pa_server_info* info, void* self) {
        if (info != nullptr) {
            static_cast<State*>(self)->server = QStringLiteral("%1 %2").arg(
                QString::fromUtf8(info->server_name), QString::fromUtf8(info->server_version));
        }
        Wake(static_cast<State*>(self));
    }
    static void SinkDescribed(pa_context*, const pa_sink_info* info, int, void* self) {
        auto* state = static_cast<State*>(self);
        if (info != nullptr) {
            state->streamFormat.rate = info->sample_spec.rate;
            state->streamFormat.channels = info->sample_spec.channels;
        }
        Wake(state);
    }
    static void Timed(pa_stream*, int, void* self) { Wake(static_cast<State*>(self)); }
    static void TimedOut(pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
        static_cast<State*>(self)->timedOut = true;
        Wake(static_cast<State*>(self));
    }
    static void CutNow(pa_mainloop_api* api, pa_defer_event* event, void* self) {
        api->defer_enable(event, 0);
        static_cast<State*>(self)->Pump();
    }
    static void Tick(pa_mainloop_api*, pa_time_event* event, const timeval*, void* self) {
        auto* state = static_cast<State*>(self);
        state->Pump();
        pa_context_rttime_restart(state->context, event, pa_rtclock_now() + kPeriodUsec);
    }

    // Waits, with the lock held, until `done`; false when the server failed or took too long.
    template <typename Done> bool Await(Done done) {
        while (!done()) {
            if (lost || timedOut) {
                return false;
            }
            pa_threaded_mainloop_wait(loop);
        }
        return true;
    }
    bool Await(pa_operation* operation) {
        if (operation == nullptr) {
            return false;
        }
        const bool done =
            Await([&] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; });
        if (!done) {
            pa_operation_cancel(operation);
        }
        pa_operation_unref(operation);
        return done;
    }

    // Connects, with the lock held, and opens the stream; libpulse's thread runs after.
    bool Connect(const SoundFormat& format) {
        pa_context_set_state_callback(context, &ContextChanged, this);
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            pa_threaded_mainloop_start(loop) < 0) {
            return false;
        }
        pa_time_event* deadline =
            pa_context_rttime_new(context, pa_rtclock_now() + kConnectUsec, &TimedOut, this);
        // The default sink's rate and channels spare the server a conversion of its own; where
        // it cannot tell, the first sound's.
        streamFormat = {PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(format.rate),
                        static_cast<std::uint8_t>(format.channels)};
        const bool connected =
            Await([&] { return pa_context_get_state(context) == PA_CONTEXT_READY; }) &&
            Await(pa_context_get_server_info(context, &ServerDescribed, this)) &&
            Await(pa_context_get_sink_info_by_name(context, "@DEFAULT_SINK@", &SinkDescribed,
                                                   this)) &&
            OpenStream();
        pa_threaded_mainloop_get_api(loop)->time_free(deadline);
        if (!connected) {
            error = timedOut ? QStringLiteral("the sound server does not answer")
                             : QString::fromUtf8(pa_strerror(pa_context_errno(context)));
        }
        return connected;
    }

    bool OpenStream() {
        // The converter mixes at most 8 channels, in the order of WAVE files, as SDL does.
        streamFormat.channels = std::clamp<std::uint8_t>(streamFormat.channels, 1, 8);
        pa_channel_map map;
        pa_channel_map_init_extend(&map, streamFormat.channels, PA_CHANNEL_MAP_WAVEEX);
        if (!pa_sample_spec_valid(&streamFormat)) {
            return false;
        }
        stream = pa_stream_new(context, "Zvonkar", &streamFormat, &map);
        if (stream == nullptr) {
            return false;
        }
        pa_stream_set_state_callback(stream, &StreamChanged, this);
        // Without prebuffering the stream never waits for a fill after running dry.
        pa_buffer_attr attributes{};
        attributes.maxlength = static_cast<std::uint32_t>(-1);
        attributes.tlength =
            static_cast<std::uint32_t>(pa_usec_to_bytes(kAheadUsec, &streamFormat));
        attributes.prebuf = 0;
        attributes.minreq =
            static_cast<std::uint32_t>(pa_usec_to_bytes(kPeriodUsec, &streamFormat));
        attributes.fragsize = static_cast<std::uint32_t>(-1);
        const auto flags = static_cast<pa_stream_flags_t>(
            PA_STREAM_EARLY_REQUESTS | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
        if (pa_stream_connect_playback(stream, nullptr, &attributes, flags, nullptr, nullptr) < 0 ||
            !Await([&] { return pa_stream_get_state(stream) == PA_STREAM_READY; }) ||
            !Await(pa_stream_update_timing_info(stream, &Timed, this))) {
            return false;
        }
        feed.Reset(Played());
        written.Reset(streamFormat.channels, static_cast<std::size_t>(Frames(2 * kAheadUsec)));
        end = held = Heard();
        Pump();
        pa_context_rttime_new(context, pa_rtclock_now() + kPeriodUsec, &Tick, this);
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop);
        cutter = api->defer_new(api, &CutNow, this);
        api->defer_enable(cutter, 0);
        return true;
    }

    // The stream position being played, in frames.
    std::int64_t Heard() {
        pa_usec_t time = 0;
        if (pa_stream_get_time(stream, &time) == 0) {
            heard = std::max(heard, Frames(time));
        }
        return heard;
    }

    // The stream position the server has mixed up to, as it told last. What is written from
    // there on is heard, also from a server that cannot take back what it mixed (PipeWire's).
    std::int64_t Mixed() {
        const pa_timing_info* timing = pa_stream_get_timing_info(stream);
        return Heard() + Frames(timing != nullptr ? timing->sink_usec : 0);
    }

    // Writes `count` frames at stream position `at`: the queue's next ones, or silence.
    void Write(std::int64_t at, std::size_t count, bool silence) {
        if (count == 0) {
            return;
        }
        scratch.resize(count * streamFormat.channels);
        if (silence) {
            std::fill(scratch.begin(), scratch.end(), 0.0f);
        } else {
            feed.Output().Pull(scratch.data(), count);
        }
        written.Put(static_cast<std::uint64_t>(at), scratch.data(), count);
        const std::size_t frameBytes = pa_frame_size(&streamFormat);
        pa_stream_write(stream, scratch.data(), count * frameBytes, nullptr,
                        at * static_cast<std::int64_t>(frameBytes), PA_SEEK_ABSOLUTE);
        held = std::max(held, at + static_cast<std::int64_t>(count));
    }

    // Hands the server what the queue has, as far as the server is to hold, and silence
    // beyond, so that it never runs dry while the stream is open. A new sound is written over
    // the old by libpulse's own thread alone (see the header).
    void Pump() {
        if (stream == nullptr || lost || (cutting && !pa_threaded_mainloop_in_thread(loop))) {
            return;
        }
        if (cutting) {
            cutting = false;
            Cut();
        }
        const std::int64_t mixed = Mixed();
        const std::int64_t horizon = mixed + Frames(kAheadUsec);
        const auto waiting = static_cast<std::int64_t>(feed.Output().Waiting());
        if (waiting > 0) {
            // Frames due where the server has mixed already were heard as silence; the sound
            // goes on from here.
            end = std::max(end, mixed + Frames(kLeadUsec));
            const std::int64_t count = std::min(waiting, horizon - end);
            if (count > 0) {
                Write(end, static_cast<std::size_t>(count), false);
                end += count;
            }
        }
        if (held + Frames(kPeriodUsec) <= horizon) {
            Write(held, static_cast<std::size_t>(horizon - held), true);
        }
    }

    // After the queue's Replace: the new sound (or silence) is written over what the server
    // holds from just past what it has mixed, beginning with the cut sound's fade.
    void Cut() {
        const std::int64_t at = Mixed() + Frames(kLeadUsec);
        SoundQueue& queue = feed.Output();
        const std::size_t fade =
            at < held ? std::min(static_cast<std::size_t>(held - at), queue.FadeFrames()) : 0;
        scratch.resize(fade * streamFormat.channels);
        written.Get(static_cast<std::uint64_t>(at), scratch.data(), fade);
        queue.Rewind(scratch.data(), fade);
        const std::size_t count = std::max(
            std::min(queue.Waiting(), static_cast<std::size_t>(Frames(kAheadUsec - kLeadUsec))),
            fade);
        Write(at, count, false);
        end = at + static_cast<std::int64_t>(count);
        // Nothing of the cut sound is left to play.
        if (end < held) {
            Write(end, static_cast<std::size_t>(held - end), true);
        }
    }

    // With the lock held, after the queue's Replace.
    void BeginCut() {
        if (cutter != nullptr) {
            cutting = true;
            pa_threaded_mainloop_get_api(loop)->defer_enable(cutter, 1);
        }
    }
};

PulseSoundBackend::PulseSoundBackend() : state_(std::make_unique<State>()) {}

PulseSoundBackend::~PulseSoundBackend() {
    Close();
}

bool PulseSoundBackend::Open(const SoundFormat& format) {
    State& s = *state_;
    s.lost = false;
    s.timedOut = false;
    s.heard = 0;
    s.loop = pa_threaded_mainloop_new();
    s.context = s.loop != nullptr ? pa_context_new(pa_threaded_mainloop_get_api(s.loop), "Zvonkar")
                                  : nullptr;
    bool connected = false;
    if (s.context != nullptr) {
        const Locked lock(s.loop);
        connected = s.Connect(format);
    } else {
        s.error = QStringLiteral("libpulse cannot start");
    }
    if (!connected) {
        Close();
    }
    return connected;
}

void PulseSoundBackend::Close() {
    State& s = *state_;
    // With libpulse's thread stopped, nothing else touches the connection.
    if (s.loop != nullptr) {
        pa_threaded_mainloop_stop(s.loop);
    }
    s.cutter = nullptr; // freed with the loop
    s.cutting = false;
    if (s.stream != nullptr) {
        pa_stream_set_state_callback(s.stream, nullptr, nullptr);
        pa_stream_disconnect(s.stream);
        pa_stream_unref(s.stream);
        s.stream = nullptr;
    }
    if (s.context != nullptr) {
        pa_context_set_state_callback(s.context, nullptr, nullptr);
        pa_context_disconnect(s.context);
        pa_context_unref(s.context);
        s.context = nullptr;
    }
    if (s.loop != nullptr) {
        pa_threaded_mainloop_free(s.loop);
        s.loop = nullptr;
    }
    s.feed.Drop();
}

bool PulseSoundBackend::IsOpen() const {
    return state_->loop != nullptr && !state_->lost;
}

QString PulseSoundBackend::LastError() const {
    return state_->error;
}

SoundFormat PulseSoundBackend::DeviceFormat() const {
    return state_->loop != nullptr ? state_->Played() : SoundFormat{};
}

QString PulseSoundBackend::Name() const {
    return state_->loop != nullptr ? QStringLiteral("libpulse, to %1").arg(state_->server)
                                   : QString();
}

bool PulseSoundBackend::Start(const SoundFormat& format, const float* first, std::size_t frames) {
    State& s = *state_;
    if (!s.feed.Start(format, DeviceFormat(), first, frames) || s.loop == nullptr) {
        Stop();
        return false;
    }
    const Locked lock(s.loop);
    s.feed.Pass(true);
    s.BeginCut();
    return true;
}

void PulseSoundBackend::Queue(const float* samples, std::size_t frames) {
    state_->feed.Queue(samples, frames);
}

void PulseSoundBackend::Finish() {
    state_->feed.Finish();
}

void PulseSoundBackend::Stop() {
    State& s = *state_;
    if (s.loop == nullptr) {
        s.feed.Drop();
        return;
    }
    const Locked lock(s.loop);
    s.feed.Stop();
    s.BeginCut();
}

double PulseSoundBackend::Feed() {
    State& s = *state_;
    if (!IsOpen()) {
        // A lost server plays nothing more: the sound is over.
        s.feed.Drop();
        return 0.0;
    }
    s.feed.Pass(false);
    std::int64_t unplayed = 0;
    {
        const Locked lock(s.loop);
        s.Pump();
        unplayed = std::max<std::int64_t>(s.end - s.Heard(), 0);
    }
    return static_cast<double>(static_cast<std::int64_t>(s.feed.Waiting()) + unplayed) /
           s.streamFormat.rate;
}

std::uint64_t PulseSoundBackend::Handed() const {
    return state_->feed.Handed();
}

} // namespace win32
