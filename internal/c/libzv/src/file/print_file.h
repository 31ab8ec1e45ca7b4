// PRINT # to OUTPUT and APPEND files and to the screen device.
#pragma once
#include <cstdint>

struct zvs;

// PRINT # of one piece of text: space writes one space after it, zone moves on to the
// next 14-column print zone (the comma), newline ends the line with CR LF. A negative
// number is ignored.
void sub_file_print(int32_t n, zvs* text, int32_t space, int32_t zone, int32_t newline);

// PRINT # USING's writer and TAB's print column in PRINT #, registered with the
// modules that ask for them.
void print_file_register();
