// TIMERTHREAD: the ON TIMER clock; answers the shutdown by stopping.
#include "program.h"

#include "clock/clock.h"
#include "core/runtime_flags.h"

void TIMERTHREAD(void*) {
    for (;;) {
        if (stop_program.load()) {
            exit_ok.fetch_or(2);
            return;
        }
        libzv_sleep_ms(1);
    }
}
