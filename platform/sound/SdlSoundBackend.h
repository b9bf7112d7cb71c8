#pragma once
// The audio output through SDL2's audio subsystem (PipeWire, PulseAudio, ALSA, or the dummy and
// disk drivers of the tests). SDL is initialised on the first Open, with its signal handlers
// off. The device is opened once, in the rate and channels the sound server mixes in (the first
// sound's where the driver cannot tell), with a period of about 5 ms, so that the server keeps
// only a few milliseconds queued. Each sound is converted to the device's format on the
// service's thread; the device's callback only copies the converted frames out of the service's
// SoundQueue, and so never waits for the service.

#include "platform/sound/SoundBackend.h"

#include <memory>

namespace win32 {

class SdlSoundBackend : public SoundBackend {
public:
    SdlSoundBackend();
    // Also shuts SDL down, with what it keeps for the calling thread.
    ~SdlSoundBackend() override;

    std::optional<SoundFormat> Open(const SoundFormat& wanted, SoundQueue& queue,
                                    QString& why) override;
    void Close() override;
    QString Name() const override;
    QString LostBecause() const override;
    // The device's callback pulls by itself; the frames it has pulled are played by then.
    void Pull() override {}
    void Cut() override {}
    std::size_t Unheard() override { return 0; }

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace win32
