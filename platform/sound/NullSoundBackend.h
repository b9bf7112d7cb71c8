#pragma once
// The audio output used when there is no audio device: it accepts every sound and drops it.

#include "platform/sound/SoundBackend.h"

#include <atomic>

namespace win32 {

class NullSoundBackend : public SoundBackend {
public:
    bool Open(const SoundFormat& format) override;
    void Close() override {}
    void Shutdown() override {}
    bool IsOpen() const override { return true; }
    QString LastError() const override { return {}; }
    bool Drops() const override { return true; }
    SoundFormat DeviceFormat() const override { return {}; }
    QString Name() const override { return {}; }

    bool Start(const SoundFormat& format, const float* first, std::size_t frames) override;
    void Queue(const float* samples, std::size_t frames) override;
    void Finish() override {}
    void Stop() override {}
    double Feed() override { return 0.0; }
    std::uint64_t Handed() const override { return handed_; }

private:
    std::atomic<std::uint64_t> handed_{0};
};

} // namespace win32
