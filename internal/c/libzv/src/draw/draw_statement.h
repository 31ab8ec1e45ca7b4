// DRAW: the turtle-graphics command strings.
#pragma once
#include <cstdint>

#include "string/zvs.h"

// DRAW commands$.
void sub_draw(zvs* commands);

// Reads one number at the parse position and moves past it. draw_num_invalid is 1
// for a malformed number, draw_num_undefined 1 when no number was present.
double draw_num();
extern int32_t draw_num_invalid;
extern int32_t draw_num_undefined;

// The parse position: the text, its length and the index of the next character.
extern const uint8_t* sub_draw_cp;
extern int64_t sub_draw_len;
extern int64_t sub_draw_i;
