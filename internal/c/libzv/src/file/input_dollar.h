// INPUT$: bytes from an INPUT or BINARY file, or characters from the keyboard.
#pragma once
#include <cstdint>

struct zvs;

// INPUT$(count[, #n]); passed non-zero when a file number was given. A temporary.
zvs* func_input(int32_t count, int32_t n, int32_t passed);

// Where the keyboard form takes its keys: INKEY$ unless tests put another source
// (returning a temporary) in its place; nullptr restores INKEY$.
void input_dollar_set_key_source(zvs* (*source)());
