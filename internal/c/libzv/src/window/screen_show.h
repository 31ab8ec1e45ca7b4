// _SCREENSHOW and _SCREENHIDE: the window's visibility (and the deferred start of
// a program whose screen starts hidden).
#pragma once
#include <cstdint>

void sub__screenshow();
void sub__screenhide();
// -1 while hidden.
int32_t func__screenhide();
