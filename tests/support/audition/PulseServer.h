#pragma once
// A private PulseAudio with one null sink, in a runtime folder of its own and without the
// system's or the user's configuration; once it runs, this process and every program it starts
// talk to it alone.

#include "tests/support/audition/ChildProcess.h"

#include <QString>

namespace audition {

// The null sink's name and format.
inline constexpr const char* kSink = "zvonkar_bench";
inline constexpr int kSinkRate = 48000;
inline constexpr int kSinkChannels = 2;

class PulseServer {
public:
    // Starts the server in `folder` (which must be private to the user) and waits until it
    // answers; false when it does not.
    bool Start(const QString& folder);
    // Kills the server at once, as a crash would; Start brings it back.
    void Kill();
    ~PulseServer();

private:
    ChildProcess daemon_;
    int log_ = -1;
};

} // namespace audition
