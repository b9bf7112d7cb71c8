#include "platform/sound/PulseSoundBackend.h"

#include "platform/sound/PulseStreamWriter.h"

#include <algorithm>
#include <atomic>
#include <pulse/pulseaudio.h>

namespace win32 {

namespace {

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
    // The following are libpulse's lock's.
    QString lostBecause;
    SoundQueue* queue = nullptr;
    PulseStreamWriter writer;
    std::int64_t heard = 0; // the stream position being played, in frames, as told last

    SoundFormat Played() const {
        return {static_cast<int>(streamFormat.rate), streamFormat.channels};
    }

    std::int64_t Frames(pa_usec_t usec) const {
        return static_cast<std::int64_t>(usec * streamFormat.rate / PA_USEC_PER_SEC);
    }

    void Lose(const char* what) {
        if (!lost.exchange(true)) {
            lostBecause = QStringLiteral("%1: %2").arg(
                QString::fromUtf8(what), QString::fromUtf8(pa_strerror(pa_context_errno(context))));
        }
    }

    static void Wake(State* self) { pa_threaded_mainloop_signal(self->loop, 0); }
    static void ContextChanged(pa_context* context, void* self) {
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) {
            static_cast<State*>(self)->Lose("the connection to the sound server broke");
        }
        Wake(static_cast<State*>(self));
    }
    static void StreamChanged(pa_stream* stream, void* self) {
        if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) {
            static_cast<State*>(self)->Lose("the sound server closed the stream");
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
        pa_context_rttime_restart(state->context, event,
                                  pa_rtclock_now() + PulseStreamWriter::kPeriodUsec);
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

    // Connects, with the lock held, and opens the stream; libpulse's thread runs after. Says
    // why not in `why`.
    bool Connect(const SoundFormat& wanted, QString& why) {
        pa_context_set_state_callback(context, &ContextChanged, this);
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            pa_threaded_mainloop_start(loop) < 0) {
            why = QString::fromUtf8(pa_strerror(pa_context_errno(context)));
            return false;
        }
        pa_time_event* deadline =
            pa_context_rttime_new(context, pa_rtclock_now() + kConnectUsec, &TimedOut, this);
        // The default sink's rate and channels spare the server a conversion of its own; where
        // it cannot tell, the first sound's.
        streamFormat = {PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(wanted.rate),
                        static_cast<std::uint8_t>(wanted.channels)};
        const bool connected =
            Await([&] { return pa_context_get_state(context) == PA_CONTEXT_READY; }) &&
            Await(pa_context_get_server_info(context, &ServerDescribed, this)) &&
            Await(pa_context_get_sink_info_by_name(context, "@DEFAULT_SINK@", &SinkDescribed,
                                                   this)) &&
            OpenStream();
        pa_threaded_mainloop_get_api(loop)->time_free(deadline);
        if (!connected) {
            why = timedOut ? QStringLiteral("the sound server does not answer")
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
        attributes.tlength = static_cast<std::uint32_t>(
            pa_usec_to_bytes(PulseStreamWriter::kAheadUsec, &streamFormat));
        attributes.prebuf = 0;
        attributes.minreq = static_cast<std::uint32_t>(
            pa_usec_to_bytes(PulseStreamWriter::kPeriodUsec, &streamFormat));
        attributes.fragsize = static_cast<std::uint32_t>(-1);
        const auto flags = static_cast<pa_stream_flags_t>(
            PA_STREAM_EARLY_REQUESTS | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
        if (pa_stream_connect_playback(stream, nullptr, &attributes, flags, nullptr, nullptr) < 0 ||
            !Await([&] { return pa_stream_get_state(stream) == PA_STREAM_READY; }) ||
            !Await(pa_stream_update_timing_info(stream, &Timed, this))) {
            return false;
        }
        queue->Reset(Played());
        writer.Reset(Played(), Now().heard);
        Pump();
        pa_context_rttime_new(context, pa_rtclock_now() + PulseStreamWriter::kPeriodUsec, &Tick,
                              this);
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop);
        cutter = api->defer_new(api, &CutNow, this);
        api->defer_enable(cutter, 0);
        return true;
    }

    // Where the stream stands: the position being played, and the one the server has mixed
    // up to, as it told last. What is written from there on is heard, also from a server that
    // cannot take back what it mixed (PipeWire's).
    PulseStreamWriter::Clock Now() {
        pa_usec_t time = 0;
        if (pa_stream_get_time(stream, &time) == 0) {
            heard = std::max(heard, Frames(time));
        }
        const pa_timing_info* timing = pa_stream_get_timing_info(stream);
        return {heard, heard + Frames(timing != nullptr ? timing->sink_usec : 0)};
    }

    // Hands the server what the queue has; a new sound only from libpulse's own thread (see
    // the header).
    void Pump() {
        if (stream == nullptr || lost ||
            (queue->CutPending() && !pa_threaded_mainloop_in_thread(loop))) {
            return;
        }
        const std::size_t frameBytes = pa_frame_size(&streamFormat);
        writer.Pump(Now(), *queue, [&](std::int64_t at, const float* frames, std::size_t count) {
            pa_stream_write(stream, frames, count * frameBytes, nullptr,
                            at * static_cast<std::int64_t>(frameBytes), PA_SEEK_ABSOLUTE);
        });
    }
};

PulseSoundBackend::PulseSoundBackend() : state_(std::make_unique<State>()) {}

PulseSoundBackend::~PulseSoundBackend() {
    Close();
}

std::optional<SoundFormat> PulseSoundBackend::Open(const SoundFormat& wanted, SoundQueue& queue,
                                                   QString& why) {
    State& s = *state_;
    s.lost = false;
    s.lostBecause.clear();
    s.timedOut = false;
    s.heard = 0;
    s.queue = &queue;
    s.loop = pa_threaded_mainloop_new();
    s.context = s.loop != nullptr ? pa_context_new(pa_threaded_mainloop_get_api(s.loop), "Zvonkar")
                                  : nullptr;
    bool connected = false;
    if (s.context != nullptr) {
        const Locked lock(s.loop);
        connected = s.Connect(wanted, why);
    } else {
        why = QStringLiteral("libpulse cannot start");
    }
    if (!connected) {
        Close();
        return std::nullopt;
    }
    return s.Played();
}

void PulseSoundBackend::Close() {
    State& s = *state_;
    // With libpulse's thread stopped, nothing else touches the connection.
    if (s.loop != nullptr) {
        pa_threaded_mainloop_stop(s.loop);
    }
    s.cutter = nullptr; // freed with the loop
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
}

QString PulseSoundBackend::Name() const {
    return state_->loop != nullptr ? QStringLiteral("libpulse, to %1").arg(state_->server)
                                   : QString();
}

QString PulseSoundBackend::LostBecause() const {
    State& s = *state_;
    if (s.loop == nullptr || !s.lost) {
        return {};
    }
    const Locked lock(s.loop);
    return s.lostBecause;
}

void PulseSoundBackend::Pull() {
    State& s = *state_;
    const Locked lock(s.loop);
    s.Pump();
}

void PulseSoundBackend::Cut() {
    State& s = *state_;
    const Locked lock(s.loop);
    if (s.cutter != nullptr) {
        pa_threaded_mainloop_get_api(s.loop)->defer_enable(s.cutter, 1);
    }
}

std::size_t PulseSoundBackend::Unheard() {
    State& s = *state_;
    const Locked lock(s.loop);
    return s.stream != nullptr && !s.lost ? s.writer.Unheard(s.Now()) : 0;
}

} // namespace win32
