// _RESIZE, its event function, the reshape size and the scaled screen size.
#pragma once
#include <cstdint>

// mode 1 (ON) lets the window be resized, 2 (OFF) snaps it back to the frame size;
// stretch 0 none, 1 stretch, 2 stretch smooth.
void sub__resize(int32_t mode, int32_t stretch);
// -1 once after each reshape while resizing is on; 0 while it snaps back.
int32_t func__resize();
int32_t func__resizewidth();
int32_t func__resizeheight();
int32_t func__scaledwidth();
int32_t func__scaledheight();
