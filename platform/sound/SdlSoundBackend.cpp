#include "platform/sound/SdlSoundBackend.h"

#include <SDL.h>
#include <algorithm>
#include <bit>
#include <optional>

namespace win32 {

namespace {

// About 5 ms, in the power of two that SDL asks for: the device's period, and with it the
// sound server's buffer, so that a new sound is heard within a few milliseconds.
Uint16 PeriodFrames(int rate) {
    return static_cast<Uint16>(std::bit_ceil(static_cast<unsigned>(std::max(rate / 200, 16))));
}

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

// The format the sound server mixes in, where the driver can tell (PulseAudio, PipeWire).
std::optional<SoundFormat> PreferredFormat() {
    char* name = nullptr;
    SDL_AudioSpec preferred{};
    if (SDL_GetDefaultAudioInfo(&name, &preferred, 0) != 0) {
        return std::nullopt;
    }
    SDL_free(name);
    if (preferred.freq <= 0 || preferred.channels < 1) {
        return std::nullopt;
    }
    return SoundFormat{preferred.freq, preferred.channels};
}

} // namespace

// Members are destroyed in reverse order: the device (and its callback) goes before SDL is shut
// down.
struct SdlSoundBackend::State {
    Subsystem subsystem;
    Device device;
    SoundQueue* queue = nullptr;
    SDL_AudioSpec obtained{}; // what the device plays

    static void Callback(void* userdata, Uint8* buffer, int length) {
        auto* state = static_cast<State*>(userdata);
        state->queue->Pull(reinterpret_cast<float*>(buffer),
                           static_cast<std::size_t>(length) / sizeof(float) /
                               static_cast<std::size_t>(state->obtained.channels));
    }
};

SdlSoundBackend::SdlSoundBackend() : state_(std::make_unique<State>()) {}

SdlSoundBackend::~SdlSoundBackend() {
    Close();
    state_->subsystem.Quit();
    // SDL keeps its error text per thread, and frees it by itself only for threads it started.
    SDL_TLSCleanup();
}

std::optional<SoundFormat> SdlSoundBackend::Open(const SoundFormat& wanted, SoundQueue& queue,
                                                 QString& why) {
    if (!state_->subsystem.up) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            why = QString::fromUtf8(SDL_GetError());
            return std::nullopt;
        }
        state_->subsystem.up = true;
    }
    // The server's own format spares it a conversion of its own, and the device stays right for
    // every later sound. A driver that cannot tell gets the first sound's format.
    const SoundFormat device = PreferredFormat().value_or(wanted);
    SDL_AudioSpec want{};
    want.freq = device.rate;
    want.format = AUDIO_F32SYS;
    want.channels = static_cast<Uint8>(device.channels);
    want.samples = PeriodFrames(device.rate);
    want.callback = &State::Callback;
    want.userdata = state_.get();
    // Whatever rate, channels and period the driver settles on is played as it is; the sounds'
    // own conversion covers it, and no second conversion inside SDL holds frames back.
    state_->device.id =
        SDL_OpenAudioDevice(nullptr, 0, &want, &state_->obtained,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE |
                                SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (state_->device.id == 0) {
        why = QString::fromUtf8(SDL_GetError());
        return std::nullopt;
    }
    // The device starts paused, so its callback does not run yet.
    const SoundFormat played{state_->obtained.freq, state_->obtained.channels};
    queue.Reset(played);
    state_->queue = &queue;
    SDL_PauseAudioDevice(state_->device.id, 0);
    return played;
}

void SdlSoundBackend::Close() {
    state_->device.Close();
}

QString SdlSoundBackend::Name() const {
    const char* driver = state_->device.id != 0 ? SDL_GetCurrentAudioDriver() : nullptr;
    return driver != nullptr ? QStringLiteral("SDL, %1 driver").arg(QString::fromUtf8(driver))
                             : QString();
}

QString SdlSoundBackend::LostBecause() const {
    return state_->device.id != 0 &&
                   SDL_GetAudioDeviceStatus(state_->device.id) == SDL_AUDIO_STOPPED
               ? QStringLiteral("the audio device went away")
               : QString();
}

} // namespace win32
