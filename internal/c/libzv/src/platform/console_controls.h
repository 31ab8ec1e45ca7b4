// Console window controls on the terminal: its title and its cursor, written as
// escape sequences when standard output is a terminal (nothing otherwise).
#pragma once
#include <cstddef>
#include <cstdint>

// OSC 0 with the text, less the bytes that would end the sequence early (below 32
// and 127), so that nothing of the title reaches the terminal as a command.
void console_terminal_set_title(const void* text, size_t length);
// Shows or hides the cursor, with a block shape for sizes of 50 and more and an
// underline below.
void console_terminal_set_cursor(bool visible, int32_t size);
