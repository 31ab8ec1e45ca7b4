// ON, OFF and STOP of a counted trap (KEY and STRIG alike).
#pragma once
#include "core/runtime_flags.h"
#include "traps.h"

template <class Slot>
void trap_apply_action(Slot& s, int32_t action) {
    switch (action) {
        case TRAP_ACTION_ON:
            s.active.store(TRAP_ON);
            if (s.count.load()) zvevent_raise();
            break;
        case TRAP_ACTION_OFF:
            s.active.store(TRAP_OFF);
            s.count.store(0);
            break;
        case TRAP_ACTION_STOP: {
            s.active.store(TRAP_STOPPED);
            // A stopped trap remembers one event at most.
            uint8_t c = s.count.load();
            while (c > 1 && !s.count.compare_exchange_weak(c, 1)) {
            }
            break;
        }
        default:
            break;
    }
}
