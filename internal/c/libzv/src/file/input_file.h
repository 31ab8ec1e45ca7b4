// INPUT # of strings, and the byte readers that INPUT # of numbers reads through.
#pragma once
#include <cstdint>

struct zvs;

// INPUT #n, variable$. A negative number is ignored.
void sub_file_input_string(int32_t n, zvs* variable);

// The next byte of a file (gfs index): 0-255, -1 at the end (byte 26 stays unread and
// sets eof_passed), -2 after raising the error of a failed read.
int32_t file_input_chr(int32_t index);
// After the CR or LF that ended an item or line: also takes the other half of a CR LF
// or LF CR pair, and looks one byte ahead so that an end of file shows at once.
void file_input_skip1310(int32_t index, int32_t line_end);
// Moves past the separator after a numeric item ended by the byte c.
int32_t file_input_nextitem(int32_t index, int32_t c);
// One step back over the byte just read.
void file_input_step_back(int32_t index);

// The byte readers registered with the number reader of INPUT #.
void input_file_register();
