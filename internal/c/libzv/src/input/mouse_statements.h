// The cursor and pointer statements: _MOUSEHIDE, _MOUSESHOW and _MOUSEMOVE.
#pragma once
#include <cstdint>

struct zvs;

void sub__mousehide();
// _MOUSESHOW [style$]: passed 1 with a style.
void sub__mouseshow(zvs* style, int32_t passed);
void sub__mousemove(float x, float y);

// The hidden flag (0, or -1 after _MOUSEHIDE) and the cursor id last chosen.
int32_t mouse_hidden();
int32_t mouse_cursor_style_now();
void mouse_statements_reset_for_tests();
