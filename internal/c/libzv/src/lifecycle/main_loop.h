// The housekeeping thread: frames, BIOS ticks, lock keys, the printer page, and the
// one shutdown that every way of ending reaches.
#pragma once
#include <cstdint>

// The work a pass delegates to other modules; tests replace it.
struct main_loop_hooks {
    void (*display)();           // frame production (only while autodisplay is on)
    void (*resync_lock_keys)();  // Caps, Num and Scroll Lock against the system
    void (*sound_update)();
    void (*printer_idle)();      // prints a printer page left alone for 10 s
    void (*shutdown_close)();    // pending printer page, every file and handle
};

const main_loop_hooks& main_loop_default_hooks();
void main_loop_set_hooks(const main_loop_hooks* hooks);  // nullptr: defaults

struct main_loop_state {
    bool toggle = false;  // flips every pass; frames on passes where it is set
};

enum class main_loop_step { go_on, shut_down };

// One pass; shut_down when the shutdown must start.
main_loop_step main_loop_pass(main_loop_state& state);
// BIOS timer ticks at 0x46C..0x46E from the time of day.
void main_loop_update_bios_ticks();
// First half of the shutdown: stops the program and timer threads and waits until
// both have answered, then closes files and handles.
void main_loop_stop_threads();

// Body of the housekeeping thread; ends the process.
[[noreturn]] void MAIN_LOOP(void* argument);
