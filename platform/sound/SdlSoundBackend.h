#pragma once
// The audio output through SDL2's audio subsystem (PipeWire, PulseAudio, ALSA, or the dummy and
// disk drivers of the tests). SDL is initialised on the first Open, with its signal handlers
// off. The device is opened once, in the rate and channels the sound server mixes in (the first
// sound's where the driver cannot tell), with a period of about 5 ms, so that the server keeps
// only a few milliseconds queued. Each sound is converted to the device's format on the
// service's thread (SoundConverter); the device's callback only copies the converted frames out
// of a SoundQueue, and so never waits for the service.

#include "platform/sound/SoundBackend.h"

#include <memory>

namespace win32 {

class SdlSoundBackend : public SoundBackend {
public:
    SdlSoundBackend();
    ~SdlSoundBackend() override;

    bool Open(const SoundFormat& format) override;
    void Close() override;
    void Shutdown() override;
    bool IsOpen() const override;
    QString LastError() const override;
    bool Drops() const override { return false; }
    SoundFormat DeviceFormat() const override;
    QString Name() const override;

    bool Start(const SoundFormat& format, const float* first, std::size_t frames) override;
    void Queue(const float* samples, std::size_t frames) override;
    void Finish() override;
    void Stop() override;
    double Feed() override;
    std::uint64_t Handed() const override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace win32
