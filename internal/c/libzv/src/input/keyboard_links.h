// What the keyboard pipeline needs of other modules: the ON KEY slots and the
// wake-up of SLEEP.
#pragma once
#include <cstdint>

struct onkey_slot_view {
    bool armed;  // state not off and a handler set
    int32_t keycode, keycode_alt;
    int32_t scancode, flags;  // user-defined keys
};

onkey_slot_view keyboard_onkey_slot(int32_t slot);
// Counts one event for the slot and raises the boundary flag.
void keyboard_onkey_trigger(int32_t slot);
// Every key press ends a SLEEP.
void keyboard_wake_sleep();
