// RND and RANDOMIZE: the process-wide 24-bit linear congruential generator.
// Program thread only.
#pragma once
#include <cstdint>

// RND or RND(x); passed is 0 when no argument was given. Returns 0 while an error
// is pending.
float func_rnd(float x, int32_t passed);
// RANDOMIZE x (kind 1), RANDOMIZE USING x (kind 3), RANDOMIZE with no number (any
// other kind: the user is asked for a seed).
void sub_randomize(double x, int32_t kind);

// The seed question of RANDOMIZE without a number: prints the prompt (no line end)
// and reads one 16-bit integer. Returns 1 with *value set, 0 when nothing was read
// (an error is pending or the program is stopping); the state is then left alone.
using randomize_ask_seed_fn = int32_t (*)(const char* prompt, int16_t* value);
// Registered once the keyboard INPUT editor exists; until then the prompt is printed
// with the PRINT core and nothing is read.
void randomize_set_ask_seed(randomize_ask_seed_fn ask);  // nullptr: the default

// The prompt RANDOMIZE prints.
constexpr const char* randomize_prompt = "Random-number seed (-32768 to 32767)? ";

// RUN without a file name: both seeds back to their start value.
void rnd_reset_seeds();
// The generator state (tests).
int32_t rnd_state();
void rnd_reset_for_tests();
