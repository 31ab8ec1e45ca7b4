// SLEEP and its wake-up, and the waits for a key that END builds on. Program
// thread, except the wake calls (any thread).
#pragma once
#include <cstdint>

// sleep_break, the event module's word: cleared when a SLEEP starts, set to end it
// (a key press, an ON TIMER event).
#include "core/traps.h"

// SLEEP [seconds]; passed bit 1 seconds. Returns at once while an error is pending.
void sub_sleep(int32_t seconds, int32_t passed);
// The same wait without the pending-error test: milliseconds when timed, else
// until a key (or a timer event, or the program stopping).
void sleep_wait(int64_t milliseconds, bool timed);

// The keyboard pipeline calls this on every key press: it counts the press and
// ends a SLEEP.
void sleep_key_event();
// Key presses counted so far; a wait can compare two readings.
uint32_t sleep_key_events();
// Ends a SLEEP without a key (ON TIMER).
void sleep_wake();

void sleep_reset_for_tests();
