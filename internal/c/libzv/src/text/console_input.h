// The console input reader of console programs: one record at a time from the
// terminal, the last key's scan code and the last mouse state. Program thread only.
#pragma once
#include <cstdint>

// Scan code of the last console key (a terminal reports no releases).
extern int32_t console_last_scancode;
// 1-based column and row of the last console mouse report, and its button word:
// left 1, right 2, middle 4, held across reports; a wheel report adds +120 (up) or
// -120 (down) in the high 16 bits for that report only.
extern int32_t console_mouse_x, console_mouse_y, console_mouse_buttons;

// Reads at most one record: 1 a key, 2 a mouse report, 0 nothing (or standard
// input is not a terminal). Leaves the terminal in key mode for the next call.
int32_t func__getconsoleinput();

// Waits for a key on the console: pending input is dropped first. Ends on a key
// (any byte when standard input is not a terminal), at the end of input, or when
// the program is stopping.
void console_wait_key();

void console_input_reset_for_tests();
