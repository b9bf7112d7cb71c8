#pragma once
// An audio output of the sound service: what differs between playing through a sound server,
// through SDL and not at all. The service owns the sound's conversion and its SoundQueue; an
// output opens at the format it plays, pulls from the queue, and tells what it has pulled and
// not yet played. The service's thread makes every call; Name() may also be read from other
// threads while the output stays open. An output is destroyed on the thread that used it.

#include "platform/sound/SoundQueue.h"

#include <QString>
#include <cstddef>
#include <optional>

namespace win32 {

class SoundBackend {
public:
    virtual ~SoundBackend() = default;

    // Opens the output in the format its server or driver mixes in, or in `wanted`, the first
    // sound's, where it has none, resets `queue` to that format and starts pulling from it.
    // Returns the format, which is zeros for an output that drops every sound; nothing when it
    // cannot open, with `why` saying so.
    virtual std::optional<SoundFormat> Open(const SoundFormat& wanted, SoundQueue& queue,
                                            QString& why) = 0;
    virtual void Close() = 0;
    // What plays the sound, for people reading measurements: the library and its driver or
    // server; empty while closed.
    virtual QString Name() const = 0;
    // Why the open output can play no more (its server went away, say); empty while it can.
    virtual QString LostBecause() const = 0;

    // Moves what the queue has on to the output, for an output that the service's thread feeds.
    virtual void Pull() = 0;
    // Tells that the queue holds a new sound, after its Replace: it is to be heard at once.
    virtual void Cut() = 0;
    // Frames pulled from the queue and not yet heard.
    virtual std::size_t Unheard() = 0;
};

} // namespace win32
