#pragma once
// The audio output used when there is no other: it opens always, at no format, and so the
// sound service drops every sound it is given.

#include "platform/sound/SoundBackend.h"

namespace win32 {

class NullSoundBackend : public SoundBackend {
public:
    std::optional<SoundFormat> Open(const SoundFormat&, SoundQueue&, QString&) override {
        return SoundFormat{};
    }
    void Close() override {}
    QString Name() const override { return {}; }
    QString LostBecause() const override { return {}; }
    void Pull() override {}
    void Cut() override {}
    std::size_t Unheard() override { return 0; }
};

} // namespace win32
