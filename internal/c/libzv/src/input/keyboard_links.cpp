// The keyboard pipeline's links to the ON KEY slots and to SLEEP.
#include "input/keyboard_links.h"

#include "core/traps.h"
#include "text/sleep.h"

onkey_slot_view keyboard_onkey_slot(int32_t slot) {
    onkey_struct& k = onkey(slot);
    return {k.active.load() != TRAP_OFF && k.id.load() != 0, k.keycode.load(), k.keycode_alt.load(),
            k.scancode.load(), k.flags.load()};
}

void keyboard_onkey_trigger(int32_t slot) { onkey_trigger(slot); }

void keyboard_wake_sleep() { sleep_key_event(); }
