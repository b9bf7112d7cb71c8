#pragma once
// The benchmark's clock: seconds of the steady clock, which the sound service's status and the
// monitor's timing share.

#include <chrono>
#include <thread>

namespace audition {

inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline void Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

} // namespace audition
