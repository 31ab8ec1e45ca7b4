// _FULLSCREEN, _ALLOWFULLSCREEN, their functions, and Alt+Enter's step through the
// full-screen modes.
#pragma once
#include <cstdint>

// mode 0 or 2 stretched, 1 or 4 windowed, 3 square pixels (other codes change
// nothing); bit 0 of flags asks for smoothing.
void sub__fullscreen(int32_t mode, int32_t flags);
// mode 3 or 5 no full screen by Alt+Enter, 0 or 4 any, 1 stretched, 2 square only;
// smooth 2 or 4 never, 0 or 3 either, 1 always.
void sub__allowfullscreen(int32_t mode, int32_t smooth);
// The pending request, else the current mode.
int32_t func__fullscreen();
int32_t func__fullscreensmooth();

// Alt+Enter (window thread): the next allowed of windowed, stretched, stretched
// smooth, square pixels, square pixels smooth.
void fullscreen_alt_enter();
