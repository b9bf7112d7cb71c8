#pragma once
// The process's one sound service: a thread that takes play requests, keeps the audio output
// fed from the sound being played, replaces it when a new request comes, and closes the output
// device after a few idle seconds. The caller opens the sound and decodes its first block
// itself, so the thread only has to hand that block over to the device.

#include "platform/sound/NullSoundBackend.h"
#include "platform/sound/PulseSoundBackend.h"
#include "platform/sound/SdlSoundBackend.h"
#include "platform/sound/sound.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace win32 {

class SoundService {
public:
    struct Request {
        std::unique_ptr<SoundSource> source;
        std::vector<float> first; // the first block, already decoded
        std::size_t firstFrames = 0;
        QString path;
        bool isDefault = false;
    };

    static SoundService& Instance();
    ~SoundService();
    SoundService(const SoundService&) = delete;
    SoundService& operator=(const SoundService&) = delete;

    // Replaces whatever is playing by the request; returns the request's number.
    std::uint64_t Play(Request request);
    // Stops whatever is playing.
    void Stop();
    // Returns when request `number` has played to its end or was replaced.
    void WaitUntilDone(std::uint64_t number);
    SoundStatus Status();
    void SetIdleClose(std::chrono::milliseconds delay);

private:
    SoundService();
    void Run();
    // The following run on the service's thread without the mutex held.
    void Begin(Request request, std::uint64_t number);
    void Halt(std::uint64_t number);
    bool Refill(); // true when the sound is over
    // The open output, else the first one that opens: a PulseAudio-protocol server, SDL, or
    // none that plays.
    SoundBackend* Output(const SoundFormat& format);

    std::mutex mutex_;
    std::condition_variable wake_; // tells the thread of a request
    std::condition_variable done_; // tells waiters that a sound ended or was replaced
    std::optional<Request> pending_;
    bool stopPending_ = false;
    bool quit_ = false;
    std::uint64_t requested_ = 0; // number of the newest request
    std::uint64_t finished_ = 0;  // number of the newest request that has ended
    SoundStatus status_;
    SoundBackend* active_ = nullptr; // the output that took the request playing or played last
    std::chrono::milliseconds idleClose_{3000};

    // The thread's own state.
    PulseSoundBackend pulse_;
    SdlSoundBackend sdl_;
    NullSoundBackend null_;
    SoundBackend* device_ = nullptr; // the output open, while one is
    std::unique_ptr<SoundSource> source_;
    bool sourceDone_ = false;
    std::uint64_t playing_ = 0;
    bool warned_ = false;
    std::vector<float> block_;
    std::chrono::steady_clock::time_point idleSince_;

    std::thread thread_; // last, so that it starts once everything above exists
};

} // namespace win32
