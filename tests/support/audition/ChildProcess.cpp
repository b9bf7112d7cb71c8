#include "tests/support/audition/ChildProcess.h"

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace audition {

ChildProcess::ChildProcess(const std::vector<std::string>& argv, int out, int err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out >= 0) {
        posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    }
    if (err >= 0) {
        posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    Stop();
    pid_ = std::exchange(other.pid_, -1);
    return *this;
}

ChildProcess::~ChildProcess() {
    Stop();
}

int ChildProcess::Wait() {
    int status = 0;
    if (pid_ <= 0 || waitpid(std::exchange(pid_, -1), &status, 0) < 0) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::Stop(int signal) {
    if (pid_ > 0) {
        kill(pid_, signal);
        Wait();
    }
}

} // namespace audition
