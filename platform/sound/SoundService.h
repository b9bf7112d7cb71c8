#pragma once
// The process's one sound service: a thread that takes play requests, converts the sound being
// played and keeps the audio output fed with it, replaces it when a new request comes, and
// closes the output after a few idle seconds. The caller opens the sound and decodes its first
// block itself, so the thread only has to hand that block on. The outputs are tried in a fixed
// order: a PulseAudio-protocol server, SDL, none that plays; when the one playing is lost, the
// sound is dropped, and the service connects it again in the background while it would have
// stayed open.

#include "platform/sound/SoundBackend.h"
#include "platform/sound/SoundFeed.h"
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
    // Returns when request `number` has played to its end, was replaced or was dropped.
    void WaitUntilDone(std::uint64_t number);
    SoundStatus Status();
    void SetIdleClose(std::chrono::milliseconds delay);

private:
    using Clock = std::chrono::steady_clock;
    // One entry of the outputs' order.
    struct Choice {
        const char* name;
        std::unique_ptr<SoundBackend> output;
        bool (*asked)(); // false when the user's settings pass it over
    };
    // The lost output being connected again, and when to try next.
    struct Reconnect {
        SoundBackend* output = nullptr;
        Clock::time_point next;
        Clock::duration wait;
        Clock::time_point until;
        SoundFormat format; // what it played
    };

    SoundService();
    void Run();
    // The following run on the service's thread without the mutex held.
    void Begin(Request request, std::uint64_t number);
    void Halt(std::uint64_t number);
    bool Refill(); // true when the sound is over
    // Frames converted or handed on and not yet heard, topping up the output first.
    std::size_t Ahead();
    // Opens the first output of the order that opens; when that is the silent one, says once
    // on stderr why each of the others was passed over.
    void OpenOutput(const SoundFormat& wanted);
    void SetOutput(SoundBackend* output, const SoundFormat& format);
    void CloseOutput();
    // Drops the sound when the output was lost, says so, and plans to connect it again.
    bool CheckLost();
    void TryReconnect();
    // With the mutex held: the sound of request `number` is over.
    void Ended(std::uint64_t number);

    std::mutex mutex_;
    std::condition_variable wake_; // tells the thread of a request
    std::condition_variable done_; // tells waiters that a sound ended or was replaced
    std::optional<Request> pending_;
    bool stopPending_ = false;
    bool quit_ = false;
    std::uint64_t requested_ = 0; // number of the newest request
    std::uint64_t finished_ = 0;  // number of the newest request that has ended
    SoundStatus status_;          // of the request; the output's part is read from output_
    std::chrono::milliseconds idleClose_{3000};
    // Changed by the thread with the mutex held, so that Status may read it.
    SoundBackend* output_ = nullptr; // the output open, while one is
    SoundFormat format_;             // what it plays; zeros when it drops every sound
    bool dropped_ = false;           // the request's sound went to no output

    // The thread's own state.
    std::vector<Choice> outputs_;
    SoundFeed feed_;
    std::unique_ptr<SoundSource> source_;
    bool sourceDone_ = false;
    std::uint64_t playing_ = 0;
    bool warned_ = false;
    std::optional<Reconnect> reconnect_;
    std::vector<float> block_;
    Clock::time_point idleSince_;

    std::thread thread_; // last, so that it starts once everything above exists
};

} // namespace win32
