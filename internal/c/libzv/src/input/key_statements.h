// KEY ON, KEY OFF, KEY LIST and KEY n: the soft keys and the KEY line.
#pragma once
#include <cstdint>

struct zvs;

void key_on();
void key_off();
// Prints the twelve soft keys on the write image.
void key_list();
// KEY n, text: n 1-10, 30, 31 a soft-key text (at most 15 characters); n 15-29 a
// user-defined trap key (last character the scancode, the others ORed into the
// shift flags; empty clears it); other n error 5.
void key_assign(int32_t n, zvs* text);

// The soft-key text of function key 1-12 (the KEY line reads it), or null.
zvs* key_soft_text(int32_t key);
