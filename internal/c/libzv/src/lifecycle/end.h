// Program end: the program thread's final parking place and END.
#pragma once
#include <cstdint>

struct zvs;

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

// What END's prompt in the window needs of the text and keyboard modules, which
// register these once they exist. Until then the prompt is not printed and no key
// is ever seen, so only a close request ends the wait.
struct end_screen_calls {
    void (*view_print)(int32_t top, int32_t bottom);   // VIEW PRINT top TO bottom
    void (*print)(zvs* text, int32_t new_line);        // PRINT on the write image
    zvs* (*inkey)();                                   // INKEY$ (a temporary)
};
void end_set_screen_calls(const end_screen_calls* calls);  // nullptr: the defaults

// CLOSE of every file (END and CLEAR); the file module registers it. Until then
// there is nothing to close.
void end_set_close_all_files(void (*close_all)());
void close_all_files();

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
