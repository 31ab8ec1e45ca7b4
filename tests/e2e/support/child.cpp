// Child processes for window tests.
#include "support/child.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

int64_t monotonic_ms() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

child_process child_start(const std::vector<std::string>& argv, const std::vector<std::string>& env_unset) {
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env;
    for (char** e = environ; *e; ++e) {
        bool drop = false;
        for (auto& name : env_unset)
            if (strncmp(*e, name.c_str(), name.size()) == 0 && (*e)[name.size()] == '=') drop = true;
        if (!drop) env.push_back(*e);
    }
    env.push_back(nullptr);
    child_process child;
    if (posix_spawnp(&child.pid, args[0], nullptr, nullptr, args.data(), env.data()) != 0) child.pid = -1;
    return child;
}

std::optional<int> child_wait(child_process& child, int timeout_ms) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    for (;;) {
        int status = 0;
        pid_t r = waitpid(child.pid, &status, WNOHANG);
        if (r == child.pid) {
            child.pid = -1;
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
            return -1;
        }
        if (monotonic_ms() >= deadline) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, &status, 0);
            child.pid = -1;
            return std::nullopt;
        }
        usleep(2000);
    }
}

bool child_running(child_process& child) {
    int status = 0;
    if (child.pid <= 0) return false;
    if (waitpid(child.pid, &status, WNOHANG) == 0) return true;
    child.pid = -1;
    return false;
}
