// INPUT and LINE INPUT from the keyboard: one line typed into targets 1..n.
#pragma once
#include <cstdint>

// Translated code names target i (1-based) before calling zvs_input: its type word
// and its address (a zvs descriptor for strings, the variable's bytes otherwise).
// The target table grows as needed.
void zvs_input_target(int32_t index, uint32_t type, void* address);

// Reads one line into targets 1..n; finish_line 1 moves to a new line after Enter.
void zvs_input(int32_t n, uint8_t finish_line);

// The seed question of RANDOMIZE, answered through the editor.
int32_t input_ask_seed(const char* prompt, int16_t* value);

void input_editor_reset_for_tests();
