#pragma once
// The audio output through a sound server that speaks the PulseAudio protocol (PulseAudio
// itself, or PipeWire's pulse server): the connection, the one place that talks to libpulse.
// It connects, opens the stream, runs libpulse's callbacks and tells the stream's clock to a
// PulseStreamWriter, which decides what is written where.
//
// Why not SDL here: SDL hands the server one period at a time, so the server holds only a few
// milliseconds and the sound drops out whenever the server or SDL's thread runs late, while a
// longer period makes a new sound wait behind it. This output keeps some 50 ms queued at the
// server, which rides out a busy machine, and asks for early requests, so that the server mixes
// only about 5 ms ahead of the device. A new sound is written over the queued frames from just
// past what the server has mixed, and so is heard within a few milliseconds, without the
// server having to take back anything it mixed (PipeWire's cannot).
//
// The stream plays 32-bit floats at the rate and channel count of the server's default sink.
// The frames go on to the server from the service's thread and every 5 ms from libpulse's own
// thread; a new sound only from libpulse's thread, which sends it at once, so that the place
// it is written at is still ahead of the server when the server gets it. The connection's
// state callback tells at once when the server goes away. Nothing of libpulse is touched
// before Open.

#include "platform/sound/SoundBackend.h"

#include <memory>

namespace win32 {

class PulseSoundBackend : public SoundBackend {
public:
    PulseSoundBackend();
    ~PulseSoundBackend() override;

    // Connects to the server; fails quickly when none answers.
    std::optional<SoundFormat> Open(const SoundFormat& wanted, SoundQueue& queue,
                                    QString& why) override;
    void Close() override;
    QString Name() const override;
    QString LostBecause() const override;
    void Pull() override;
    void Cut() override;
    // Also counts what the server holds of the current sound and has not played yet, so that
    // a sound is over when it has been heard.
    std::size_t Unheard() override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace win32
