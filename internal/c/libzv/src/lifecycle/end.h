// Program end: the program thread's final parking place and END.
#pragma once
#include <cstdint>

#include "core/end_hooks.h"

// Parks the program thread for good: the _GL SUB is never called again, the park is
// reported (exit_ok bit 0), then the thread sleeps while the housekeeping thread
// ends the process.
[[noreturn]] void end();

// Tests replace the park after the report; nullptr restores the endless sleep.
void end_set_park_hook(void (*park)());

// The value of stop_program.
uint8_t stop_program_state();

// END, also reached when the main module runs off its end: files closed, close
// requests end the program again, then "Press any key to continue" and a key
// (in the window, or on the terminal of a hidden console program), then the
// shutdown. Inside the _GL SUB: fatal error 271.
[[noreturn]] void sub_end();

// The two waits of END, without the shutdown that follows them.
// In the window: the prompt on the last row of the display page, keys pressed
// before END drained, then a key; false when the program is stopping instead.
bool end_wait_in_window();
// On the terminal: "\nPress any key to continue" on standard output, then one byte
// of input (raw mode on a terminal, restored afterwards); the end of input also
// ends the wait. False when the program is stopping instead.
bool end_wait_on_console(int input_fd);

// Default calls and no park hook (tests).
void end_reset_for_tests();
