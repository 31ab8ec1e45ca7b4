// Software frame producer: turns the display page into frames for the window.
#pragma once
#include <atomic>
#include <cstdint>

// Non-zero while the housekeeping loop produces frames on its own.
extern std::atomic<int32_t> autodisplay;

// 1 once a frame was produced from the current screen contents; a screen change
// clears it so that the next frame is drawn whole.
extern std::atomic<int32_t> screen_last_valid;

// The frame order the next produced frame receives (starts at 1); hardware commands
// are stamped with it.
extern std::atomic<int64_t> display_frame_order_next;

// One production step, on the housekeeping thread.
void display();
