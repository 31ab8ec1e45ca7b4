// end(): the program thread never ends the process itself.
#include "core/end.h"

#include <atomic>

#include "clock/clock.h"
#include "core/runtime_flags.h"

namespace {
std::atomic<void (*)()> park_hook{nullptr};
}

void end_set_park_hook(void (*park)()) { park_hook.store(park); }

void end() {
    exit_ok.fetch_or(1);
    if (auto park = park_hook.load()) park();
    while (!stop_program.load()) libzv_sleep_ms(16);
    for (;;) libzv_sleep_ms(16);
}
