#include "platform/sound/SdlSoundBackend.h"

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace win32 {

namespace {

// About 23 ms at 44.1 kHz: short enough that a replacing sound starts without a lag.
constexpr Uint16 kDeviceFrames = 1024;

struct StreamDeleter {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};

// SDL's audio subsystem, initialised once and shut down with the backend. SDL is ours alone,
// so the last subsystem down takes SDL with it, and with it the hint set before initialising.
struct Subsystem {
    bool up = false;
    ~Subsystem() { Quit(); }
    void Quit() {
        if (up) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            up = false;
            if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
                SDL_Quit();
            }
        }
    }
};

// An open audio device; closing it also stops its callback thread.
struct Device {
    SDL_AudioDeviceID id = 0;
    ~Device() { Close(); }
    void Close() {
        if (id != 0) {
            SDL_CloseAudioDevice(id);
            id = 0;
        }
    }
};

// Holds the device's lock, which SDL also holds around every callback.
class DeviceLock {
public:
    explicit DeviceLock(SDL_AudioDeviceID id) : id_(id) { SDL_LockAudioDevice(id_); }
    ~DeviceLock() { SDL_UnlockAudioDevice(id_); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID id_;
};

} // namespace

// Members are destroyed in reverse order: the device (and its callback) goes before the
// stream the callback reads, and SDL is shut down last.
struct SdlSoundBackend::State {
    Subsystem subsystem;
    std::unique_ptr<SDL_AudioStream, StreamDeleter> stream; // the current sound, converted
    Device device;
    SDL_AudioSpec obtained{}; // what the device plays
    std::size_t sourceChannels = 1;
    // Read by Handed() from other threads.
    std::atomic<int> sourceRate{1};
    std::atomic<int> deviceRate{1};
    std::atomic<std::uint64_t> handed{0}; // device frames of the current sound
    std::atomic<std::uint64_t> queued{0}; // its frames given to the stream
    QString error;

    int FrameBytes() const { return SDL_AUDIO_BITSIZE(obtained.format) / 8 * obtained.channels; }

    static void Callback(void* userdata, Uint8* buffer, int length) {
        auto* state = static_cast<State*>(userdata);
        int got = state->stream ? SDL_AudioStreamGet(state->stream.get(), buffer, length) : 0;
        got = got < 0 ? 0 : got;
        if (got < length) {
            std::memset(buffer + got, state->obtained.silence,
                        static_cast<std::size_t>(length - got));
        }
        state->handed += static_cast<std::uint64_t>(got / state->FrameBytes());
    }
};

SdlSoundBackend::SdlSoundBackend() : state_(std::make_unique<State>()) {}

SdlSoundBackend::~SdlSoundBackend() = default;

bool SdlSoundBackend::Open(const SoundFormat& format) {
    if (!state_->subsystem.up) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            state_->error = QString::fromUtf8(SDL_GetError());
            return false;
        }
        state_->subsystem.up = true;
    }
    SDL_AudioSpec want{};
    want.freq = format.rate;
    want.format = AUDIO_F32SYS;
    want.channels = static_cast<Uint8>(format.channels);
    want.samples = kDeviceFrames;
    want.callback = &State::Callback;
    want.userdata = state_.get();
    // No changes allowed: SDL converts to whatever the hardware plays.
    state_->device.id = SDL_OpenAudioDevice(nullptr, 0, &want, &state_->obtained, 0);
    if (state_->device.id == 0) {
        state_->error = QString::fromUtf8(SDL_GetError());
        return false;
    }
    state_->deviceRate = state_->obtained.freq;
    SDL_PauseAudioDevice(state_->device.id, 0);
    return true;
}

void SdlSoundBackend::Close() {
    state_->device.Close();
    state_->stream.reset();
}

void SdlSoundBackend::Shutdown() {
    Close();
    state_->subsystem.Quit();
    // SDL keeps its error text per thread, and frees it by itself only for threads it started.
    SDL_TLSCleanup();
}

bool SdlSoundBackend::IsOpen() const {
    return state_->device.id != 0;
}

QString SdlSoundBackend::LastError() const {
    return state_->error;
}

bool SdlSoundBackend::Start(const SoundFormat& format) {
    const SDL_AudioSpec& obtained = state_->obtained;
    const DeviceLock lock(state_->device.id);
    state_->stream.reset(SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(format.channels),
                                            format.rate, obtained.format, obtained.channels,
                                            obtained.freq));
    state_->sourceChannels = static_cast<std::size_t>(format.channels);
    state_->sourceRate = format.rate;
    state_->handed = 0;
    state_->queued = 0;
    return state_->stream != nullptr;
}

void SdlSoundBackend::Queue(const float* samples, std::size_t frames) {
    const DeviceLock lock(state_->device.id);
    if (state_->stream) {
        const std::size_t bytes = frames * state_->sourceChannels * sizeof(float);
        state_->queued += frames;
        SDL_AudioStreamPut(state_->stream.get(), samples, static_cast<int>(bytes));
    }
}

void SdlSoundBackend::Finish() {
    // A resampling stream keeps back up to a few hundred frames of its input even when flushed;
    // a little silence behind the sound carries its last frames out.
    const std::vector<float> silence(state_->sourceChannels *
                                     static_cast<std::size_t>(state_->sourceRate / 20 + 1024));
    const DeviceLock lock(state_->device.id);
    if (state_->stream) {
        SDL_AudioStreamPut(state_->stream.get(), silence.data(),
                           static_cast<int>(silence.size() * sizeof(float)));
        SDL_AudioStreamFlush(state_->stream.get());
    }
}

void SdlSoundBackend::Stop() {
    const DeviceLock lock(state_->device.id);
    state_->stream.reset();
}

double SdlSoundBackend::Buffered() const {
    const DeviceLock lock(state_->device.id);
    const int bytes = state_->stream ? SDL_AudioStreamAvailable(state_->stream.get()) : 0;
    return static_cast<double>(bytes) / state_->FrameBytes() / state_->obtained.freq;
}

std::uint64_t SdlSoundBackend::Handed() const {
    // The silence behind the sound is not part of it.
    return std::min<std::uint64_t>(
        state_->queued, state_->handed * static_cast<std::uint64_t>(state_->sourceRate.load()) /
                            static_cast<std::uint64_t>(state_->deviceRate.load()));
}

} // namespace win32
