// Routines the PRINT family shares without the pending-error test of its statements.
#pragma once
#include <cstdint>

#include "image/img_struct.h"
#include "string/zvs.h"

// The PRINT core itself (zvs_print without the pending-error test).
void print_core(zvs* text, int32_t finish_line);
// _PRINTWIDTH of a text on an image: its length on text images, font width x length
// for fixed-width fonts, the font back end's width for proportional ones.
int32_t printwidth_of(const img_struct* im, zvs* text);
