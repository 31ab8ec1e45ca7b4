// Lock and modifier keys against the system: the presses of start-up and the
// housekeeping loop's re-sync of Caps Lock, Num Lock and the Scroll Lock state.
#pragma once

// What the system reports; production reads the runtime's own X connection, tests
// install their own.
struct lock_key_source {
    bool (*caps_lock_on)();
    bool (*num_lock_on)();
    bool (*scroll_lock_on)();
    // Whether a key is down now: 0 Scroll Lock, 1 left Shift, 2 right Shift, 3 left
    // Ctrl, 4 right Ctrl, 5 left Alt, 6 right Alt.
    bool (*key_down)(int index);
    // Flips a lock in the system: 0 Caps Lock, 1 Num Lock, 2 Scroll Lock.
    void (*toggle)(int lock);
};
const lock_key_source& lock_keys_source();
void lock_keys_set_source(const lock_key_source* source);  // nullptr: the system

// Start-up (before any other thread): the Scroll Lock state, the modifier keys that
// are down and the locks that are on enter the held set; the _KEYHIT ring is left
// empty.
void startup_lock_keys();
// Housekeeping loop: Scroll Lock state, Caps Lock and Num Lock follow the system.
void resync_lock_keys();
