// Small diagnostics of translated programs: _ASSERT, _ECHO and showvalue.
#pragma once
#include <cstdint>

struct zvs;

// _ASSERT condition[, message] (passed bit 0: the message), only in programs built
// with asserts: a zero condition raises critical error 315 after echoing the message
// in a console program that gave one, else 314.
void sub__assert(int32_t condition, zvs* message, int32_t passed);
// _ECHO text: the text and a new line on the console image; nothing in a program
// without one.
void sub__echo(zvs* text);
// Debugging aid: STR$(value) in a box titled "showvalue" with an OK button.
void showvalue(int64_t value);

// PRINT of one line on the console image, the write image restored afterwards; the
// text module registers it. Until then the line goes to standard output, which is
// where the console's output ends up.
void echo_set_console_print(void (*print_line)(zvs* text));  // nullptr: the default
