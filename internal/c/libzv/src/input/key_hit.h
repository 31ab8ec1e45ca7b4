// The _KEYHIT ring: 8192 entries of {key code (negative for a release), keypad flag}.
// One writer side (keyboard mutex held) and one reader, the program thread, without
// a lock. A write into a full ring drops the oldest entry.
#pragma once
#include <cstdint>

constexpr int32_t keyhit_size = 8192;

struct keyhit_entry {
    int32_t code;    // 0: the ring was empty
    int32_t keypad;  // 1 for keys of the keypad
};

void keyhit_append(int32_t code, int32_t keypad);
keyhit_entry keyhit_take();
// Empties the ring: both indices 0 (writer side, keyboard mutex held).
void keyhit_clear();
// The ring empty from the reader's side: the read index catches up with the writer.
void keyhit_skip_all();

void keyhit_reset_for_tests();
