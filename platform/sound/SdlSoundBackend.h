#pragma once
// The audio output through SDL2's audio subsystem (PipeWire, PulseAudio, ALSA, or the dummy and
// disk drivers of the tests). SDL is initialised on the first Open, with its signal handlers
// off, and the device is opened at the first sound's rate and channels; later sounds of other
// formats are converted to it by an SDL audio stream, which the device's callback drains.

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

    bool Start(const SoundFormat& format) override;
    void Queue(const float* samples, std::size_t frames) override;
    void Finish() override;
    void Stop() override;
    double Buffered() const override;
    std::uint64_t Handed() const override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace win32
