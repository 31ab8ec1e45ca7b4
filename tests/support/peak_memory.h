// The process's peak resident memory, to check that a statement did not touch much
// memory on its way to an error (the peak only grows, so the growth across a call
// bounds what the call touched); and a child process under a memory limit, for calls
// that would otherwise take the machine's memory when they go wrong.
#pragma once
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

inline int64_t peak_resident_bytes() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return int64_t(usage.ru_maxrss) * 1024;  // Linux reports kilobytes
}

// Runs check() in a forked child whose address space may grow by at most headroom
// bytes (RLIMIT_AS), and returns its result: check()'s value (0 to 255) when it ran
// to its end, 1000 + n when signal n ended it, -1 when no child could be started.
template <class check_fn>
int in_memory_limited_child(int64_t headroom, check_fn check) {
    fflush(nullptr);
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        long pages = 0;
        if (FILE* f = fopen("/proc/self/statm", "r")) {
            if (fscanf(f, "%ld", &pages) != 1) pages = 0;
            fclose(f);
        }
        rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + rlim_t(headroom);
        struct rlimit r {limit, limit};
        if (pages <= 0 || setrlimit(RLIMIT_AS, &r) != 0) _exit(254);
        int code = check();
        fflush(nullptr);
        _exit(code);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}
