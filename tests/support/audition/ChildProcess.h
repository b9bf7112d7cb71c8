#pragma once
// A program the benchmark starts (the sound server, the recorder, paplay, busy loops); it is
// ended and reaped when dropped, so none outlives the benchmark.

#include <csignal>
#include <string>
#include <sys/types.h>
#include <vector>

namespace audition {

class ChildProcess {
public:
    ChildProcess() = default;
    // Starts `argv` (looked up on PATH) with its standard output on `out` and its error output
    // on `err`, or on ours where -1.
    explicit ChildProcess(const std::vector<std::string>& argv, int out = -1, int err = -1);
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ~ChildProcess();

    bool Started() const { return pid_ > 0; }
    // Waits for its end; its exit status, or -1.
    int Wait();
    // Ends it with `signal` and waits for it.
    void Stop(int signal = SIGTERM);

private:
    pid_t pid_ = -1;
};

} // namespace audition
