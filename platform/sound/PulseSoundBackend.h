#pragma once
// The audio output through a sound server that speaks the PulseAudio protocol (PulseAudio
// itself, or PipeWire's pulse server), the one place that talks to libpulse.
//
// Why not SDL here: SDL hands the server one period at a time, so the server holds only a few
// milliseconds and the sound drops out whenever the server or SDL's thread runs late, while a
// longer period makes a new sound wait behind it. This output keeps some 50 ms queued at the
// server, which rides out a busy machine, and asks for early requests, so that the server mixes
// only about 5 ms ahead of the device. A new sound is written over the queued frames from just
// past what the server has mixed, and so is heard within a few milliseconds, without the
// server having to take back anything it mixed (PipeWire's cannot). The first frames of the
// cut sound, as the server held them, fade out over the start of the new one.
//
// The stream plays 32-bit floats at the rate and channel count of the server's default sink;
// each sound is converted on the service's thread (SoundConverter) into a SoundQueue. The
// frames go on to the server from the service's thread and every 5 ms from libpulse's own
// thread; a new sound only from libpulse's thread, which sends it at once, so that the place
// it is written at is still ahead of the server when the server gets it. Nothing of libpulse
// is touched before Open.

#include "platform/sound/SoundBackend.h"

#include <memory>

namespace win32 {

class PulseSoundBackend : public SoundBackend {
public:
    PulseSoundBackend();
    ~PulseSoundBackend() override;

    // Connects to the server; false, quickly, when none answers.
    bool Open(const SoundFormat& format) override;
    void Close() override;
    void Shutdown() override { Close(); }
    bool IsOpen() const override;
    QString LastError() const override;
    bool Drops() const override { return false; }
    SoundFormat DeviceFormat() const override;
    QString Name() const override;

    bool Start(const SoundFormat& format, const float* first, std::size_t frames) override;
    void Queue(const float* samples, std::size_t frames) override;
    void Finish() override;
    void Stop() override;
    // Also counts what the server holds of the current sound and has not played yet, so that
    // a sound is over when it has been heard.
    double Feed() override;
    std::uint64_t Handed() const override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace win32
