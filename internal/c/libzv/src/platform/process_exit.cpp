// Process exit: flush stdio and registered buffers, then _exit. Nothing runs at exit,
// so the code survives whichever thread ends the process.
#include "platform/process_exit.h"

#include <atomic>
#include <cstdio>
#include <unistd.h>

namespace {
std::atomic<process_exit_fn> exit_hook{nullptr};
constexpr int max_flushers = 8;
std::atomic<void (*)()> flushers[max_flushers];
std::atomic<int> flusher_count{0};
}  // namespace

void libzv_register_exit_flush(void (*flush)()) {
    int i = flusher_count.fetch_add(1);
    if (i < max_flushers) flushers[i].store(flush);
}

void libzv_set_process_exit_hook(process_exit_fn hook) { exit_hook.store(hook); }

void libzv_process_exit(int32_t code) {
    int n = flusher_count.load();
    for (int i = 0; i < n && i < max_flushers; i++)
        if (auto f = flushers[i].load()) f();
    fflush(nullptr);
    if (auto hook = exit_hook.load()) {
        hook(code);
        // A hook that returns parks this thread: the process must not go on.
        for (;;) pause();
    }
    _exit(code);
}
