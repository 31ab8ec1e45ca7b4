// Shared parts of the presenter, for its own files only.
#pragma once
#include <cstdint>

#include "display/presenter.h"

// Display callback step: the window follows the frame size (windowed only):
// auto-resize keeping the frame's aspect, or the snap-back to the frame size.
void presenter_follow_frame_size(int32_t frame_width, int32_t frame_height);
// Display callback step: a pending full-screen request, once no resize is pending.
void presenter_full_screen_transition(int32_t frame_width, int32_t frame_height);
// A resize that the window system never reports stops being pending after a second.
void presenter_expire_resize();
// Back to the start values (tests).
void presenter_window_reset();
